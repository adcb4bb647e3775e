#pragma once
// A download clock that stands still at a given second and never waits: the
// helpers that sign download URLs install it so that their tokens are known.

#include <cstdint>

#include "download/Clock.h"

class FixedClock final : public GenericStub::Clock {
 public:
  explicit FixedClock(std::int64_t now) : now_(now) {}
  std::int64_t nowSeconds() override { return now_; }
  void sleep(std::uint32_t) override {}

 private:
  std::int64_t now_;
};
