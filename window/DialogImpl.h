#pragma once
// Base of the program's dialogs: one static dialog procedure binds the object
// to its window when the dialog starts and hands every later message to the
// object's processMessage, which dispatches it to a short handler.

#include <windows.h>

#include <atomic>

namespace Window {

class CDialogImpl {
 public:
  CDialogImpl() = default;
  CDialogImpl(const CDialogImpl&) = delete;
  CDialogImpl& operator=(const CDialogImpl&) = delete;
  virtual ~CDialogImpl() = default;

  // Read by the worker thread too: set and cleared on the window's thread.
  HWND hwnd() const { return hwnd_.load(); }

  // A modeless dialog from the program's template; null on failure.
  HWND create(HWND parent, UINT templateId);
  // A modal dialog from the program's template, run to its end on the calling
  // thread; the value given to EndDialog, or -1 when it could not start.
  INT_PTR runModal(HWND owner, UINT templateId);

 protected:
  // True when the message was handled; result is then its answer. An
  // exception that leaves it is stopped in the dialog procedure and the
  // message counts as not handled: it must not unwind through the system's frames.
  virtual bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  virtual DLGPROC dialogProc() const { return &DialogProc; }
  // After the window's last message; the object may go away from here on.
  virtual void onFinalMessage() {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::atomic<HWND> hwnd_{nullptr};
};

}  // namespace Window
