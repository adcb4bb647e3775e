#pragma once
// Text rules of starting a program from the workflow. Pure functions.

#include <string>

namespace GenericStub {

// The parameters to pass: arguments, with " -quiet" appended when quiet reads
// as a non-zero decimal number (also to empty arguments, giving " -quiet").
std::wstring LaunchParameters(const std::wstring& arguments, const std::wstring& quiet);

// The file to start. A relative executableName with a launchPath names the
// file in that folder, so the program's own folder and the search path are
// never searched for it (where someone else may have put a file of that name).
// An absolute name, or any name without launchPath, is taken as it is.
std::wstring LaunchFile(const std::wstring& executableName, const std::wstring& launchPath);

// A switch or count read as the C runtime reads decimal numbers: leading
// blanks, a sign and the digits up to the first non-digit; no digit gives 0.
long DecimalSetting(const std::wstring& text);

}  // namespace GenericStub
