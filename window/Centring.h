#pragma once
// Where a dialog goes when it is centred: on its owner, or on the work area of
// its monitor, and never outside that work area.

namespace Window {

struct Box {
  long left = 0, top = 0, right = 0, bottom = 0;
};

// The top-left corner for a window of box's size centred on area, then moved
// (size unchanged) so that it stays inside workArea; when it is larger than
// the work area its top-left corner stays inside.
void CentredPosition(const Box& window, const Box& area, const Box& workArea, long& x, long& y);

}  // namespace Window
