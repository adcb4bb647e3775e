#pragma once
// Base of a control that takes over (subclasses) a window that a dialog
// template created: its own window procedure goes in front of the control's,
// which stays available for default processing.

#include <windows.h>

namespace Window {

class CWindowImpl {
 public:
  CWindowImpl() = default;
  CWindowImpl(const CWindowImpl&) = delete;
  CWindowImpl& operator=(const CWindowImpl&) = delete;
  virtual ~CWindowImpl();

  HWND hwnd() const { return hwnd_; }

  // Takes over window; false when it is not a window or already taken.
  virtual bool subclassWindow(HWND window);

 protected:
  // True when the message was handled; result is then its answer. Unhandled
  // messages go to the control's previous window procedure.
  virtual bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  virtual void onFinalMessage() {}
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void unsubclass();

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
};

}  // namespace Window
