#pragma once
// Unpacking of a RAR archive through UnRAR's command interface.

#include <string>

namespace GenericStub {

struct RarExtractionResult {
  int exitCode = 0;    // UnRAR's exit code: 0 success, 10 no archive, 3 damaged data, ...
  bool fatal = false;  // UnRAR gave up (write error, memory, a question it could not ask)
};

// Runs "x -y -inul <archive> <folder>": extracts with the archived sub-folders
// into folder (a missing final "\" is added), answering every question with yes, so
// files already there are overwritten; prints nothing. UnRAR's configuration
// (rar.ini beside the program or in the user's profile, the RAR environment
// variable) is not read: files that someone else can put there do not change
// how a package is unpacked. Entries that would leave folder stay inside it.
//
// UnRAR keeps global state: one extraction at a time.
RarExtractionResult ExtractRarArchive(const std::wstring& archive, const std::wstring& folder);

}  // namespace GenericStub
