// timetowindow PROGRAM [ARGUMENT...]
// Starts PROGRAM and prints the milliseconds from its start to the first
// visible top-level window of its process ("ms=N"), then ends it. Exit code 0,
// 1 when no window appeared within 60 s, 2 when it could not be started.
// Used by scripts/bench-window.py, by hand (not a test).

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  Search& search = *reinterpret_cast<Search*>(parameter);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search.pid && IsWindowVisible(window)) {
    search.found = true;
    return FALSE;
  }
  return TRUE;
}

std::wstring Quoted(const wchar_t* argument) { return L"\"" + std::wstring(argument) + L"\""; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: timetowindow PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::wstring commandLine = Quoted(argv[1]);
  for (int i = 2; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start: %lu\n", GetLastError());
    return 2;
  }
  Search search = {process.dwProcessId, false};
  double elapsed = 0;
  while (!search.found && elapsed < 60000) {
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (!search.found) Sleep(1);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!search.found) return 1;
  std::printf("ms=%.1f\n", elapsed);
  return 0;
}
