#pragma once
// The time of the download client: the current time for token expiry and the
// waits between attempts. Tests install their own clock so that they neither
// depend on the wall clock nor really wait.

#include <cstdint>

namespace GenericStub {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 UTC.
  virtual std::int64_t nowSeconds() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

// The platform's clock.
Clock& SystemClock();
// The clock the download client uses: the system clock unless one was installed.
Clock& CurrentClock();
// Installs clock (null reinstalls the system clock) and returns the one it replaces.
// The clock must outlive its use; install it before any worker starts.
Clock* InstallClock(Clock* clock);

}  // namespace GenericStub
