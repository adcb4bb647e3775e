#pragma once
// Reading the JSON texts of a run: the document, the JSON fields of actions and
// the callback messages.

#include <json/json.h>

#include <optional>
#include <string>

namespace GenericStub {

// Parses text, read through the thread's ANSI code page, with JsonCpp's default
// settings (comments allowed). Nothing when it is not JSON or is nested deeper
// than 1000 levels.
std::optional<Json::Value> ParseJsonText(const std::wstring& text);

// The text of a string value. JsonCpp's asString() would quietly turn numbers,
// booleans and null into text: anything but a string raises Json::LogicError.
std::wstring StringValue(const Json::Value& value);

}  // namespace GenericStub
