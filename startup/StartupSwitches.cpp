#include "startup/StartupSwitches.h"

#include <windows.h>

#include <shellapi.h>

#include "base/Handles.h"

namespace Startup {

StartupSwitches ParseSwitches(const std::vector<std::wstring>& arguments) {
  StartupSwitches switches;
  for (const std::wstring& argument : arguments) {
    if (argument == L"-debug") {
      switches.debug = true;
    } else if (argument == L"-showmetadata") {
      switches.showMetadata = true;
    }
  }
  return switches;
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine) {
  std::vector<std::wstring> arguments;
  // CommandLineToArgvW reads an empty text as "the program's own path"; the
  // command line a windowed program receives holds the arguments only.
  if (commandLine == nullptr || *commandLine == L'\0') return arguments;
  int count = 0;
  const Base::LocalArgv argv(CommandLineToArgvW(commandLine, &count));
  if (!argv) return arguments;
  for (int i = 0; i < count; ++i) arguments.emplace_back(argv.get()[i]);
  return arguments;
}

}  // namespace Startup
