#pragma once

#include <string>
#include <vector>

namespace GenericStub {

// The first of candidates (in order) that exists as folder + candidate (plain
// concatenation: folder ends in "\", or is empty for the current folder);
// "Setup.exe" when none does. Each test and the choice are logged.
std::wstring GetExecutableName(const std::wstring& folder, const std::vector<std::wstring>& candidates);

}  // namespace GenericStub
