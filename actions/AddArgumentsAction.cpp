#include "actions/AddArgumentsAction.h"

#include <optional>

#include "actions/ArgumentEdit.h"
#include "actions/CompareVersion.h"
#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace GenericStub {

using Base::LogError;

namespace {

// asString() would turn a number into text; a switch's members must be strings.
std::wstring StringMember(const Json::Value& element, const char* name) {
  const Json::Value& member = element[name];
  if (!member.isString()) Json::throwLogicError("in Json::Value::asCString(): requires stringValue");
  return Base::AnsiToWide(member.asString());
}

}  // namespace

void AddArgumentsAction::run(ValueStore& store, CallbackHandler*) {
  const std::optional<ArgumentEdit> edit = ReadArgumentEdit(*this, store);
  if (!edit) return;

  std::wstring edited = edit->arguments;
  for (const Json::Value& element : edit->switches) {
    if (!element.isObject()) {
      LogError(L"additionalArguments has invalid arguments.");
      continue;
    }
    const std::wstring name = StringMember(element, "argumentName");
    const std::wstring minimum = StringMember(element, "minSupportVersion");
    if (name.empty()) {
      LogError(L"additionalArguments has an invalid argument name.");
      continue;
    }
    if (!CompareVersion(edit->installerVersion, minimum)) continue;
    const std::wstring value = store.lookup(name);
    if (value.empty()) continue;
    edited += L" /" + name + L" \"" + value + L"\"";
  }
  StoreEditedArguments(store, *edit, edited);
}

}  // namespace GenericStub
