#include "actions/RemoveArgumentsAction.h"

#include <optional>

#include "actions/ArgumentEdit.h"
#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace GenericStub {

using Base::LogError;

namespace {

void RemoveAll(std::wstring& text, const std::wstring& piece) {
  for (auto at = text.find(piece); at != std::wstring::npos; at = text.find(piece, at)) text.erase(at, piece.size());
}

}  // namespace

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
    RemoveAll(edited, L"/" + name);
  }
  StoreEditedArguments(store, *edit, edited);
}

}  // namespace GenericStub
