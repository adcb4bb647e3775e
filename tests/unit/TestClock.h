#pragma once
// A clock for tests: time stands still until the test moves it, and waits are
// counted instead of slept.

#include <cstdint>
#include <vector>

#include "download/Clock.h"

namespace GenericStub {

class TestClock final : public Clock {
 public:
  explicit TestClock(std::int64_t now) : now_(now) {}
  std::int64_t nowSeconds() override { return now_; }
  void sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now_ += milliseconds / 1000;
  }
  void advance(std::int64_t seconds) { now_ += seconds; }

  std::vector<std::uint32_t> sleeps;

 private:
  std::int64_t now_;
};

// Installs a clock for the life of the object.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) : previous_(InstallClock(&clock)) {}
  ~ScopedClock() { InstallClock(previous_); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace GenericStub
