// Entry point of TarnwickGUI.exe.

#include <windows.h>

#include "startup/DllSearch.h"
#include "startup/StartupFlow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showState) {
  Startup::RestrictDllSearch();
  const int exitCode = Startup::RunStub(instance, commandLine, showState);
  // The worker may still be in the middle of its run (the user closed the
  // window): ending the process here stops it before the C runtime destroys
  // anything that it might still be using.
  ExitProcess(static_cast<UINT>(exitCode));
}
