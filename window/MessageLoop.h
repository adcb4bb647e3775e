#pragma once
// The message loop of the UI thread.

#include <windows.h>

namespace Window {

// Pumps the calling thread's messages until WM_QUIT, giving dialog keyboard
// handling to dialog first. Returns the quit message's parameter, or 0 when
// GetMessageW fails.
WPARAM RunMessageLoop(HWND dialog);

}  // namespace Window
