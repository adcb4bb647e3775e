#include "actions/PackageDownloadAction.h"

#include <cwchar>
#include <optional>
#include <string>

#include "actions/FetchFile.h"
#include "base/ExecutionLog.h"
#include "catalog/FieldNames.h"
#include "catalog/Sha256Pin.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {

void PackageDownloadAction::run(ValueStore& store, CallbackHandler* handler) {
  std::wstring url = getMandatoryValue(store, Catalog::kDownloadUrl);
  const std::size_t slash = url.rfind(L'/');
  const std::wstring defaultName = slash == std::wstring::npos ? url : url.substr(slash + 1);
  const std::wstring fileName = getValue(store, Catalog::kDownloadFilename, defaultName);
  const std::wstring arguments = getValue(store, Catalog::kDownloadArguments, L"");
  const std::wstring progressEnabled = getValue(store, Catalog::kProgressEnabled, L"1");
  const std::wstring pinText = getValue(store, Catalog::kSha256, L"");
  const std::optional<Catalog::Sha256Digest> pin = Catalog::ParseSha256(pinText);
  if (!pinText.empty() && !pin) {
    // Fails closed: the document asked for a check that cannot be made.
    Base::LogError(L"The sha256 [%s] of [%s] is not 64 hexadecimal digits.\n", pinText.c_str(), fileName.c_str());
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kDownloadRequest);
  }

  if (!arguments.empty()) url += L"?" + arguments;
  const bool progress = std::wcstol(progressEnabled.c_str(), nullptr, 10) != 0;
  FetchFile(downloadManager_, url, fileName, progress ? handler : nullptr, pin);
  publishOutput(store, Catalog::kDownloadedFilename, fileName);
}

}  // namespace GenericStub
