// timetowindow [--phases] PROGRAM [ARGUMENT...]
// Starts PROGRAM and prints the milliseconds from its start to the first
// visible top-level window of its process ("ms=N"), then ends it. Exit code 0,
// 1 when no window appeared within 60 s, 2 when it could not be started.
//
// With --phases the program is started with TARNWICK_PHASE_TIMES=1 and its
// standard output on a pipe; after the window appeared, what the program wrote
// there up to its line "phase-done" (its start-up phases, see
// startup/StartupPhases.h) is printed as it came, after "start=N" (the
// performance counter just before the process was created). The counter is the
// system's, the same in every process.
// Used by scripts/bench-window.py, by hand (not a test).

#include <windows.h>

#include <cstdio>
#include <cstring>
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

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// What the program wrote on the pipe until "phase-done", its end, or 10 s.
std::string ReadPhases(HANDLE pipe) {
  std::string text;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  while (text.find("phase-done\n") == std::string::npos && MillisecondsSince(start) < 10000) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;  // the program ended
    if (available == 0) {
      Sleep(1);
      continue;
    }
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) || read == 0) break;
    text.append(buffer, read);
  }
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool phases = argc > 1 && std::wcscmp(argv[1], L"--phases") == 0;
  const int first = phases ? 2 : 1;
  if (argc <= first) {
    std::fprintf(stderr, "usage: timetowindow [--phases] PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::wstring commandLine = Quoted(argv[first]);
  for (int i = first + 1; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (phases) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 1 << 16)) return 2;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    SetEnvironmentVariableW(L"TARNWICK_PHASE_TIMES", L"1");
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(argv[first], commandLine.data(), nullptr, nullptr, phases, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start: %lu\n", GetLastError());
    return 2;
  }
  if (writeEnd != nullptr) CloseHandle(writeEnd);  // the pipe ends with the program
  Search search = {process.dwProcessId, false};
  double elapsed = 0;
  while (!search.found && elapsed < 60000) {
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    elapsed = MillisecondsSince(start);
    if (!search.found) Sleep(1);
  }
  std::string phaseLines;
  if (search.found && phases) phaseLines = ReadPhases(readEnd);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (readEnd != nullptr) CloseHandle(readEnd);
  if (!search.found) return 1;
  if (phases) std::printf("start=%lld\n%s", start.QuadPart, phaseLines.c_str());
  std::printf("ms=%.1f\n", elapsed);
  return 0;
}
