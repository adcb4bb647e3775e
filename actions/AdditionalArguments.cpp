#include "actions/AdditionalArguments.h"

#include "base/ExecutionLog.h"
#include "workflow/JsonText.h"

namespace GenericStub {

std::optional<Json::Value> ParseAdditionalArguments(const std::wstring& text) {
  std::optional<Json::Value> entries = ParseJsonText(text);
  if (!entries) {
    Base::LogError(L"additionalArguments data is not a json.");
    return std::nullopt;
  }
  if (!entries->isArray()) {
    Base::LogError(L"additionalArguments data is not an array.");
    return std::nullopt;
  }
  return entries;
}

}  // namespace GenericStub
