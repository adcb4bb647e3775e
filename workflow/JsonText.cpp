#include "workflow/JsonText.h"

#include <memory>

#include "base/AnsiText.h"

namespace GenericStub {

std::optional<Json::Value> ParseJsonText(const std::wstring& text) {
  const std::string narrow = Base::WideToAnsi(text);
  const Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  // For a text nested deeper than it goes (1000 levels) the reader throws
  // instead of failing: that text is not JSON the program reads either.
  try {
    if (!reader->parse(narrow.data(), narrow.data() + narrow.size(), &root, nullptr)) return std::nullopt;
  } catch (const Json::RuntimeError&) {
    return std::nullopt;
  }
  return root;
}

std::wstring StringValue(const Json::Value& value) {
  if (!value.isString()) Json::throwLogicError("in Json::Value::asCString(): requires stringValue");
  return Base::AnsiToWide(value.asString());
}

}  // namespace GenericStub
