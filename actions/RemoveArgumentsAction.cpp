#include "actions/RemoveArgumentsAction.h"

#include <optional>

#include "actions/ArgumentEdit.h"
#include "actions/ArgumentText.h"
#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace GenericStub {

using Base::LogError;

void RemoveArgumentsAction::run(ValueStore& store, CallbackHandler*) {
  const std::optional<ArgumentEdit> edit = ReadArgumentEdit(*this, store);
  if (!edit) return;

  std::wstring edited = edit->arguments;
  for (const Json::Value& element : edit->switches) {
    if (!element.isString()) {
      LogError(L"additionalArguments has invalid arguments.");
      continue;
    }
    const std::wstring name = Base::AnsiToWide(element.asString());
    if (name.empty()) {
      LogError(L"additionalArguments has an invalid argument.");
      continue;
    }
    edited = RemoveSwitch(edited, name);
  }
  StoreEditedArguments(store, *edit, edited);
}

}  // namespace GenericStub
