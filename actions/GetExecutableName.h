#pragma once

#include <string>
#include <vector>

namespace GenericStub {

// The first of candidates (in order) that exists as folder + candidate (plain
// concatenation: folder ends in "\", or is empty for the current folder);
// "Setup.exe" when none does. A candidate that is not a plain name inside the
// folder (RelativeNameRefusal: "..", a drive, a leading separator, ":") is
// skipped with a line of its own. Each test and the choice are logged.
std::wstring GetExecutableName(const std::wstring& folder, const std::vector<std::wstring>& candidates);

}  // namespace GenericStub
