#pragma once
// Mix-in of a control that draws itself: answers the owner-draw requests that
// its parent reflects back to it and hands the draw request to
// Derived::drawItem. Measure, compare and delete get the default answers.

#include <windows.h>

namespace Window {

// Reflected notifications: the parent sends a child's own request back to it
// with this offset added to the message number.
constexpr UINT kReflectedBase = WM_USER + 0x1C00;

template <class Derived>
class COwnerDraw {
 protected:
  bool processOwnerDrawMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
      case WM_DRAWITEM:
      case kReflectedBase + WM_DRAWITEM:
        static_cast<Derived*>(this)->drawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      case WM_MEASUREITEM:
      case kReflectedBase + WM_MEASUREITEM:
        result = TRUE;
        return true;
      case WM_COMPAREITEM:
      case kReflectedBase + WM_COMPAREITEM:
        result = 0;
        return true;
      case WM_DELETEITEM:
      case kReflectedBase + WM_DELETEITEM:
        result = TRUE;
        return true;
      default:
        return false;
    }
  }
};

}  // namespace Window
