#include "actions/ArgumentEdit.h"

#include <utility>

#include "actions/AdditionalArguments.h"
#include "actions/GetFileVersion.h"
#include "base/ExecutionLog.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

using Base::LogError;

std::optional<ArgumentEdit> ReadArgumentEdit(const ActionBase& action, const ValueStore& store) {
  ArgumentEdit edit;
  edit.arguments = action.getValue(store, Catalog::kArguments, L"");
  const std::wstring additional = action.getValue(store, Catalog::kAdditionalArguments, L"");
  const std::wstring executableName = action.getMandatoryValue(store, Catalog::kExecutableName);
  const std::wstring launchPath = action.getValue(store, Catalog::kLaunchPath, L"");
  if (additional.empty()) return std::nullopt;

  std::optional<Json::Value> switches = ParseAdditionalArguments(additional);
  if (!switches) return std::nullopt;
  edit.switches = std::move(*switches);

  edit.installerVersion = GetFileVersion(launchPath + executableName);
  if (edit.installerVersion.empty()) {
    LogError(L"file version not available.");
    return std::nullopt;
  }
  return edit;
}

void StoreEditedArguments(ValueStore& store, const ArgumentEdit& edit, const std::wstring& edited) {
  if (edited != edit.arguments) store.set(Catalog::kArguments, edited);
}

}  // namespace GenericStub
