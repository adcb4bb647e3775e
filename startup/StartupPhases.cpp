#include "startup/StartupPhases.h"

#include <windows.h>

#include <cstdio>

namespace Startup {
namespace {

constexpr int kPhases = static_cast<int>(StartupPhase::kCount);
constexpr const char* kNames[kPhases] = {"entry", "dll-search", "banner", "graphics",
                                         "signature", "block", "window", "verdict", "show", "paint"};

// Each phase is marked by one thread only, and the report is written after
// the threads that mark have been joined.
LONGLONG gBegin[kPhases];
LONGLONG gEnd[kPhases];

LONGLONG Now() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

}  // namespace

void MarkPhaseBegin(StartupPhase phase) { gBegin[static_cast<int>(phase)] = Now(); }

void MarkPhaseEnd(StartupPhase phase) { gEnd[static_cast<int>(phase)] = Now(); }

void ReportPhases() {
  if (GetEnvironmentVariableW(L"TARNWICK_PHASE_TIMES", nullptr, 0) == 0) return;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  char text[1024];
  int length = std::snprintf(text, sizeof text, "phase-frequency=%lld\n", frequency.QuadPart);
  for (int i = 0; i < kPhases; ++i) {
    length += std::snprintf(text + length, sizeof text - length, "phase=%s %lld %lld\n", kNames[i], gBegin[i],
                            gEnd[i]);
  }
  length += std::snprintf(text + length, sizeof text - length, "phase-done\n");
  DWORD written = 0;
  WriteFile(out, text, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace Startup
