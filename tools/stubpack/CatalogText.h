#pragma once
// The catalog's names (ASCII, wide) as the narrow text that JsonCpp gives
// stubpack, and the hint for a name that differs from a known one only in case.

#include <string>
#include <string_view>
#include <vector>

std::string Narrow(std::wstring_view ascii);
std::vector<std::string> Narrow(const std::vector<std::wstring>& ascii);

// Bytes as wide characters one by one: enough to compare with ASCII names.
std::wstring Widen(std::string_view bytes);

// " (did you mean "Name"?)" when given equals one of known but for letter case, else empty.
std::string CaseHint(const std::string& given, const std::vector<std::string>& known);
