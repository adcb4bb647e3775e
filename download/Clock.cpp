#include "download/Clock.h"

#include <windows.h>

#include <atomic>

namespace GenericStub {

namespace {

class WindowsClock final : public Clock {
 public:
  std::int64_t nowSeconds() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    // FILETIME counts 100 ns intervals since 1601-01-01.
    constexpr std::uint64_t kTicksFrom1601To1970 = 116444736000000000ULL;
    return static_cast<std::int64_t>((ticks.QuadPart - kTicksFrom1601To1970) / 10000000ULL);
  }
  void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

std::atomic<Clock*> gInstalledClock{nullptr};

}  // namespace

Clock& SystemClock() {
  static WindowsClock clock;
  return clock;
}

Clock& CurrentClock() {
  Clock* installed = gInstalledClock.load();
  return installed != nullptr ? *installed : SystemClock();
}

Clock* InstallClock(Clock* clock) {
  Clock* previous = gInstalledClock.exchange(clock);
  return previous != nullptr ? previous : &SystemClock();
}

}  // namespace GenericStub
