#pragma once
// The time of the download client: the current time for token expiry, the
// waits between attempts and how long a body may stall. Tests install their own
// clock so that they neither depend on the wall clock nor really wait.

#include <cstdint>

namespace GenericStub {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 UTC.
  virtual std::int64_t nowSeconds() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
  // How long a response may send nothing before the attempt ends (WinHTTP's
  // receive timeout). 30 s: what WinHTTP itself waits by default, set here so
  // that it holds whatever the platform's default. Long enough for a slow but
  // living connection, short enough that a dead one ends the attempt (four
  // stalled attempts end the download in about two minutes).
  virtual std::uint32_t receiveTimeoutMilliseconds() { return 30000; }
};

// The platform's clock.
Clock& SystemClock();
// The clock the download client uses: the system clock unless one was installed.
Clock& CurrentClock();
// Installs clock (null reinstalls the system clock) and returns the one it replaces.
// The clock must outlive its use; install it before any worker starts.
Clock* InstallClock(Clock* clock);

}  // namespace GenericStub
