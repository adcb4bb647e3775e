#include "actions/ArgumentEdit.h"

#include <memory>

#include "actions/GetFileVersion.h"
#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace GenericStub {

using Base::LogError;

std::optional<ArgumentEdit> ReadArgumentEdit(const ActionBase& action, const ValueStore& store) {
  ArgumentEdit edit;
  edit.arguments = action.getValue(store, L"arguments", L"");
  const std::wstring additional = action.getValue(store, L"additionalArguments", L"");
  const std::wstring executableName = action.getMandatoryValue(store, L"executableName");
  const std::wstring launchPath = action.getValue(store, L"launchPath", L"");
  if (additional.empty()) return std::nullopt;

  const std::string text = Base::WideToAnsi(additional);
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  if (!reader->parse(text.data(), text.data() + text.size(), &edit.switches, nullptr)) {
    LogError(L"additionalArguments data is not a json.");
    return std::nullopt;
  }
  if (!edit.switches.isArray()) {
    LogError(L"additionalArguments data is not an array.");
    return std::nullopt;
  }

  edit.installerVersion = GetFileVersion(launchPath + executableName);
  if (edit.installerVersion.empty()) {
    LogError(L"file version not available.");
    return std::nullopt;
  }
  return edit;
}

void StoreEditedArguments(ValueStore& store, const ArgumentEdit& edit, const std::wstring& edited) {
  if (edited != edit.arguments) store.set(L"arguments", edited);
}

}  // namespace GenericStub
