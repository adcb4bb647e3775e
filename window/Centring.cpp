#include "window/Centring.h"

namespace Window {

void CentredPosition(const Box& window, const Box& area, const Box& workArea, long& x, long& y) {
  const long width = window.right - window.left;
  const long height = window.bottom - window.top;
  x = (area.left + area.right) / 2 - width / 2;
  y = (area.top + area.bottom) / 2 - height / 2;
  if (x + width > workArea.right) x = workArea.right - width;
  if (x < workArea.left) x = workArea.left;
  if (y + height > workArea.bottom) y = workArea.bottom - height;
  if (y < workArea.top) y = workArea.top;
}

}  // namespace Window
