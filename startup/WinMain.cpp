// Entry point of TarnwickGUI.exe.

#include <windows.h>

#include "startup/DllSearch.h"
#include "startup/StartupFlow.h"
#include "startup/StartupPhases.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showState) {
  using Startup::StartupPhase;
  Startup::MarkPhaseEnd(StartupPhase::kEntry);
  Startup::MarkPhaseBegin(StartupPhase::kDllSearch);
  Startup::RestrictDllSearch();
  Startup::MarkPhaseEnd(StartupPhase::kDllSearch);
  const int exitCode = Startup::RunStub(instance, commandLine, showState);
  // The worker may still be in the middle of its run (the user closed the
  // window): ending the process here stops it before the C runtime destroys
  // anything that it might still be using.
  ExitProcess(static_cast<UINT>(exitCode));
}
