#include "actions/PackageDownloadAction.h"

#include <cwchar>
#include <string>

#include "actions/FetchFile.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

void PackageDownloadAction::run(ValueStore& store, CallbackHandler* handler) {
  std::wstring url = getMandatoryValue(store, Catalog::kDownloadUrl);
  const std::size_t slash = url.rfind(L'/');
  const std::wstring defaultName = slash == std::wstring::npos ? url : url.substr(slash + 1);
  const std::wstring fileName = getValue(store, Catalog::kDownloadFilename, defaultName);
  const std::wstring arguments = getValue(store, Catalog::kDownloadArguments, L"");
  const std::wstring progressEnabled = getValue(store, Catalog::kProgressEnabled, L"1");

  if (!arguments.empty()) url += L"?" + arguments;
  const bool progress = std::wcstol(progressEnabled.c_str(), nullptr, 10) != 0;
  FetchFile(downloadManager_, url, fileName, progress ? handler : nullptr);
  publishOutput(store, Catalog::kDownloadedFilename, fileName);
}

}  // namespace GenericStub
