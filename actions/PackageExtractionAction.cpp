#include "actions/PackageExtractionAction.h"

#include "actions/ExtractPackage.h"
#include "actions/GetExecutableName.h"
#include "base/SplitString.h"

namespace GenericStub {

void PackageExtractionAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring archive = getMandatoryValue(store, L"fileName");
  const std::wstring launchOrder = getValue(store, L"launchOrder", L"");
  const std::wstring folder = ExtractPackage(archive);
  const std::wstring executable = GetExecutableName(folder, Base::SplitString(launchOrder, L"#"));
  publishOutput(store, L"extractionPath", folder);
  publishOutput(store, L"executableName", executable);
}

}  // namespace GenericStub
