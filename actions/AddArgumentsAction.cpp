#include "actions/AddArgumentsAction.h"

#include <optional>

#include "actions/ArgumentEdit.h"
#include "actions/CompareVersion.h"
#include "actions/HardeningCommands.h"
#include "base/ExecutionLog.h"
#include "workflow/JsonText.h"

namespace GenericStub {

using Base::LogError;

void AddArgumentsAction::run(ValueStore& store, CallbackHandler*) {
  const std::optional<ArgumentEdit> edit = ReadArgumentEdit(*this, store);
  if (!edit) return;

  std::wstring edited = edit->arguments;
  for (const Json::Value& element : edit->switches) {
    if (!element.isObject()) {
      LogError(L"additionalArguments has invalid arguments.");
      continue;
    }
    const std::wstring name = StringValue(element["argumentName"]);
    const std::wstring minimum = StringValue(element["minSupportVersion"]);
    if (name.empty()) {
      LogError(L"additionalArguments has an invalid argument name.");
      continue;
    }
    if (!CompareVersion(edit->installerVersion, minimum)) continue;
    const std::wstring value = store.lookup(name);
    if (value.empty()) continue;
    // Quoted by the rules that split it, so the installer receives the value as one argument.
    edited += L" /" + name + L" " + QuoteArgument(value);
  }
  StoreEditedArguments(store, *edit, edited);
}

}  // namespace GenericStub
