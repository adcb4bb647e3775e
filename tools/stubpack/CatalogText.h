#pragma once
// The catalog's names (ASCII, wide) as the narrow text that JsonCpp gives
// stubpack, and the hint for a name that differs from a known one only in case.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/ErrorCodes.h"

std::string Narrow(std::wstring_view ascii);
std::vector<std::string> Narrow(const std::vector<std::wstring>& ascii);

// The non-empty pieces of text between any of the separator characters, as
// the stub splits a condition or a list of files.
std::vector<std::string> SplitPieces(const std::string& text, const std::string& separators);

// Text in double quotes, as the findings name keys and values.
std::string Quoted(const std::string& text);

// "code <n>": how the findings name the code a run stops with.
std::string CodeText(Catalog::ErrorCode code);

// Bytes as wide characters one by one: enough to compare with ASCII names.
std::wstring Widen(std::string_view bytes);

// " (did you mean "Name"?)" when given equals one of known but for letter case, else empty.
std::string CaseHint(const std::string& given, const std::vector<std::string>& known);
