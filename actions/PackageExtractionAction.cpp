#include "actions/PackageExtractionAction.h"

#include "actions/ExtractPackage.h"
#include "actions/GetExecutableName.h"
#include "base/SplitString.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

void PackageExtractionAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring archive = getMandatoryValue(store, Catalog::kFileName);
  const std::wstring launchOrder = getValue(store, Catalog::kLaunchOrder, L"");
  const std::wstring folder = ExtractPackage(archive);
  const std::wstring executable = GetExecutableName(folder, Base::SplitString(launchOrder, L"#"));
  publishOutput(store, Catalog::kExtractionPath, folder);
  publishOutput(store, Catalog::kExecutableName, executable);
}

}  // namespace GenericStub
