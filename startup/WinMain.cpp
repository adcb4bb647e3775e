// Entry point of TarnwickGUI.exe.

#include <windows.h>

#include "startup/ExecutionLog.h"
#include "startup/StartupFlow.h"
#include "startup/StartupSwitches.h"

namespace {

// Only System32 for DLLs loaded at run time: a download stub usually starts from
// the user's download folder, where anyone may have left a DLL of a known name.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  RestrictDllSearch();
  EnterProgramFolder();
  LogInfo(L"=============================================\n");
  LogInfo(L"Begin to run Tarnwick\n");
  LogSupportedActions();
  const StartupSwitches switches = ParseSwitches(SplitCommandLine(commandLine));
  return RunApplication(switches);
}
