#include "actions/FetchFile.h"

#include <memory>

#include "workflow/WorkflowError.h"

namespace GenericStub {

void FetchFile(const CDownloadManager& manager, const std::wstring& url, const std::wstring& filePath,
               CallbackHandler* handler, const std::optional<Catalog::Sha256Digest>& pin) {
  const std::shared_ptr<CDownloader> downloader = manager.createDownloader(url, filePath, handler);
  if (pin) downloader->expectSha256(*pin);
  if (!downloader->connect()) LogAndRaiseWorkflowError(Catalog::ErrorCode::kDownloadConnect);
  if (!downloader->request()) LogAndRaiseWorkflowError(Catalog::ErrorCode::kDownloadRequest);
}

}  // namespace GenericStub
