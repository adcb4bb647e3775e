#include "download/CDownloadManager.h"

#include "base/ExecutionLog.h"

namespace GenericStub {

std::shared_ptr<CDownloader> CDownloadManager::createDownloader(const std::wstring& url,
                                                                const std::wstring& filePath,
                                                                CallbackHandler* handler) const {
  Base::LogInfo(L"CDownloadManager::createDownloader szUrl [%s].\n", url.c_str());
  return std::make_shared<CDownloader>(url, filePath, handler);
}

}  // namespace GenericStub
