#pragma once
// The two command-line switches of the stub. Only the exact, case-sensitive
// texts "-debug" and "-showmetadata" count, anywhere among the arguments.

#include <string>
#include <vector>

namespace Startup {

struct StartupSwitches {
  bool debug = false;         // "-debug": wait at a message box before the run
  bool showMetadata = false;  // "-showmetadata": log the document instead of running it
};

StartupSwitches ParseSwitches(const std::vector<std::wstring>& arguments);

// Splits a command line by the platform's rules (CommandLineToArgvW). A command
// line that cannot be split gives no argument.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

}  // namespace Startup
