#pragma once
// Where the running program file is. The stub runs from a download folder, so
// its own path can be long: the buffer grows until the path fits.

#include <string>

namespace Base {

// Full path of the running program file; empty when it cannot be had.
std::wstring ProgramFilePath();

// The folder of the program file, ending in "\"; empty when it cannot be had.
std::wstring ProgramFolder();

}  // namespace Base
