// Entry point of TarnwickGUI.exe.

#include <windows.h>

#include "startup/DllSearch.h"
#include "startup/StartupFlow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  Startup::RestrictDllSearch();
  return Startup::RunStub(commandLine);
}
