// logatexit FOLDER
// Logs from a worker thread right through the process's exit: the main thread
// returns from wmain while the worker writes. An exit handler registered before
// the log's first use (so it runs after any exit handler of the log) holds the
// exit until the worker has written "worker line written while the process
// exits". The execution log goes to FOLDER (as %TEMP%).

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "base/ExecutionLog.h"
#include "base/Handles.h"

namespace {

HANDLE gExiting = nullptr;
HANDLE gWrittenDuringExit = nullptr;
std::atomic<unsigned> gLinesWritten{0};

void HoldExitUntilTheWorkerHasWritten() {
  SetEvent(gExiting);
  WaitForSingleObject(gWrittenDuringExit, 10000);
}

DWORD WINAPI Worker(void*) {
  for (unsigned line = 0;; ++line) {
    if (WaitForSingleObject(gExiting, 0) == WAIT_OBJECT_0) {
      Base::LogInfo(L"worker line written while the process exits\n");
      SetEvent(gWrittenDuringExit);
      for (;;) Base::LogInfo(L"worker line %u after the exit began\n", line++);
    }
    Base::LogInfo(L"worker line %u\n", line);
    ++gLinesWritten;
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  SetEnvironmentVariableW(L"TEMP", argv[1]);
  SetEnvironmentVariableW(L"TMP", argv[1]);
  gExiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  gWrittenDuringExit = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atexit(HoldExitUntilTheWorkerHasWritten);

  Base::LogInfo(L"main starts\n");
  if (!Base::UniqueHandle(CreateThread(nullptr, 0, Worker, nullptr, 0, nullptr))) return 3;
  while (gLinesWritten.load() < 50) Sleep(1);
  Base::LogInfo(L"main returns\n");
  return 0;
}
