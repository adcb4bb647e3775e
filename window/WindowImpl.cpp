#include "window/WindowImpl.h"

namespace Window {

namespace {

// The object of a taken-over window, kept as a window property: the
// controls of the system use their own extra window bytes, never this name.
constexpr wchar_t kObjectProperty[] = L"Tarnwick.CWindowImpl";

}  // namespace

CWindowImpl::~CWindowImpl() { unsubclass(); }

bool CWindowImpl::subclassWindow(HWND window) {
  if (hwnd_ != nullptr || !IsWindow(window) || GetPropW(window, kObjectProperty) != nullptr) return false;
  if (!SetPropW(window, kObjectProperty, this)) return false;
  hwnd_ = window;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowImpl::WindowProc)));
  if (previous_ == nullptr) {
    RemovePropW(window, kObjectProperty);
    hwnd_ = nullptr;
    return false;
  }
  return true;
}

void CWindowImpl::unsubclass() {
  if (hwnd_ == nullptr) return;
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(hwnd_, kObjectProperty);
  }
  hwnd_ = nullptr;
}

LRESULT CWindowImpl::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWindowImpl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CWindowImpl*>(GetPropW(window, kObjectProperty));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    const WNDPROC previous = self->previous_;
    self->unsubclass();
    const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
    self->onFinalMessage();
    return result;
  }
  LRESULT result = 0;
  // An exception must not unwind through the system's frames: the message then
  // goes to the control's own procedure as if it had not been handled.
  try {
    if (self->processMessage(message, wParam, lParam, result)) return result;
  } catch (...) {
  }
  return self->defaultProc(message, wParam, lParam);
}

}  // namespace Window
