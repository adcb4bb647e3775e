#pragma once
// The command lines that take the rights of other users off an extraction
// folder. Pure text, no process is started here.

#include <string>
#include <vector>

namespace GenericStub {

// text as one argument of a command line, as the C runtime and
// CommandLineToArgvW split it: quoted, with inner quotes escaped and the
// backslashes before a quote (also the closing one) doubled. So a folder that
// ends in "\" does not escape the closing quote.
std::wstring QuoteArgument(const std::wstring& text);

// The icacls runs that harden folder, in order; each runs only when the one
// before it succeeded. First the folder tree stops inheriting from its parent
// (the inherited entries are kept as explicit ones), then every entry of
// Authenticated Users (S-1-5-11) is removed from the whole tree. icaclsPath is
// the full path of the tool; both paths are quoted, so blanks, "&", "^" or "%"
// in them are plain characters.
std::vector<std::wstring> HardeningCommandLines(const std::wstring& icaclsPath, const std::wstring& folder);

}  // namespace GenericStub
