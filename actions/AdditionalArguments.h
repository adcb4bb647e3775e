#pragma once

#include <json/json.h>

#include <optional>
#include <string>

namespace GenericStub {

// The JSON array of an action's "additionalArguments" text (the argument
// switches, the files to replace). Nothing when the text is not JSON or not an
// array; each writes its ERROR line.
std::optional<Json::Value> ParseAdditionalArguments(const std::wstring& text);

}  // namespace GenericStub
