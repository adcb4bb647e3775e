#pragma once
// The graphics library of the windows, started for the life of this object.
// Owner-drawn controls and resource images draw with it.

#include <cstdint>

namespace Window {

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool started() const { return token_ != 0; }

 private:
  std::uintptr_t token_ = 0;
};

}  // namespace Window
