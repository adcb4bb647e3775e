#include "window/DialogImpl.h"

namespace Window {

namespace {

// Messages whose answer is the dialog procedure's return value itself; every
// other answer goes through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

HWND CDialogImpl::create(HWND parent, UINT templateId) {
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent, dialogProc(),
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogImpl::runModal(HWND owner, UINT templateId) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, dialogProc(),
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialogImpl::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* bound = reinterpret_cast<CDialogImpl*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    bound->hwnd_ = window;
  }
  auto* self = reinterpret_cast<CDialogImpl*>(GetWindowLongPtrW(window, DWLP_USER));
  // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
  if (self == nullptr) return FALSE;
  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->processMessage(message, wParam, lParam, result);
  } catch (...) {
    handled = false;
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    self->onFinalMessage();
    return FALSE;
  }
  if (!handled) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace Window
