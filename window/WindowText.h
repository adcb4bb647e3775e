#pragma once
// A window's text as it stands (GetWindowTextW), empty for none.

#include <windows.h>

#include <string>

namespace Window {

std::wstring WindowText(HWND window);

}  // namespace Window
