#pragma once
// Centring a top-level window when its dialog starts.

#include <windows.h>

namespace Window {

// Centres window on its owner when that is visible and not minimised, else on
// the work area of the nearest monitor; keeps it inside that work area. Size
// and z-order stay as they are.
void CenterWindow(HWND window);

}  // namespace Window
