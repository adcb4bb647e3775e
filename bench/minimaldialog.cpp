// The least a windowed program does to show a dialog: one message box. The
// reference of scripts/bench-window.py.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return MessageBoxW(nullptr, L"A minimal dialog.", L"Minimal dialog", MB_OK) == IDOK ? 0 : 1;
}
