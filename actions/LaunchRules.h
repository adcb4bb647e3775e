#pragma once
// Text rules of starting a program from the workflow. Pure functions.

#include <string>

namespace GenericStub {

// The parameters to pass: arguments, with " -quiet" appended when quiet reads
// as a non-zero decimal number (also to empty arguments, giving " -quiet").
std::wstring LaunchParameters(const std::wstring& arguments, const std::wstring& quiet);

// The full file to start, so that neither the shell's search nor the search
// path ever picks a file of that name that someone else put there. With a
// launchPath, executableName must be a plain name inside it
// (RelativeNameRefusal: no "..", drive, leading separator or ":"), else the
// result is empty: nothing is started. Without one, an absolute name is taken
// as it is and a relative one names a file in programFolder (the folder of the
// program file, ending in ""), which must be a plain name too.
std::wstring LaunchFile(const std::wstring& executableName, const std::wstring& launchPath,
                        const std::wstring& programFolder);

// A switch or count read as the C runtime reads decimal numbers: leading
// blanks, a sign and the digits up to the first non-digit; no digit gives 0.
long DecimalSetting(const std::wstring& text);

}  // namespace GenericStub
