#include "window/CenterWindow.h"

#include "window/Centring.h"

namespace Window {

namespace {

Box BoxOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

void CenterWindow(HWND window) {
  RECT windowRect = {};
  if (!GetWindowRect(window, &windowRect)) return;
  const HWND owner = GetWindow(window, GW_OWNER);
  const HWND reference = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner) ? owner : nullptr;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(reference != nullptr ? reference : window, MONITOR_DEFAULTTONEAREST),
                       &monitor)) {
    return;
  }
  RECT area = monitor.rcWork;
  if (reference != nullptr) GetWindowRect(reference, &area);
  long x = 0;
  long y = 0;
  CentredPosition(BoxOf(windowRect), BoxOf(area), BoxOf(monitor.rcWork), x, y);
  SetWindowPos(window, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace Window
