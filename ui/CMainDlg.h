#pragma once
// The window of a run: a progress bar and a status line under it. Start-up
// creates it on the UI thread; the worker thread drives it through the
// callback messages of the workflow, the failure display and the close
// operation, which reach the controls by window messages across the threads.
//
// Progress arrives once per received chunk of a download. Updates that would
// change nothing on screen are skipped: a status text equal to the one the
// line shows, a bar position equal to the one last set. Only this object
// writes the status line and the bar's position, so what it last wrote is
// what they show.

#include <windows.h>

#include <atomic>
#include <string>

#include "window/AeroDialogImpl.h"
#include "workflow/CallbackHandler.h"

namespace Ui {

class CMainDlg final : public Window::CAeroDialogImpl, public GenericStub::CallbackHandler {
 public:
  CMainDlg();
  ~CMainDlg() override;

  // The modeless window from its template, on the calling (UI) thread.
  HWND create(HWND parent);

  // Parses a callback message and moves the status line and the bar: the
  // downloader's progress, or the extraction action's messages. Invalid JSON
  // is ignored; a member of the wrong kind raises the JSON library's logic
  // error and a progress text that is not a float the standard one.
  void callback(const std::wstring& message) override;

  void OnDownloadProgress(float percent);
  void OnExtractionStarted();
  // Data of a body without a known length arrives: the bar runs as a marquee,
  // the status line keeps its text.
  void OnDownloadUnmeasured();
  void ShowInitializing();
  // The failure that ended the workflow: the error code (or another failure's
  // message) in the status line and the bar in its error state, or, for a
  // failed download with a direct URL, the error window in place of this one.
  void ShowFailure(const std::wstring& errorText, const std::wstring& directUrl);
  // Hides this window, runs the error window modally on the calling thread
  // and then asks this window to close.
  void ShowErrorDialog(const std::wstring& errorText, const std::wstring& directUrl);
  // Destroys the controls and posts the quit message to the UI thread.
  void CloseMainWindow();

 protected:
  bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void onInitDialog();
  void setStatus(const std::wstring& text);
  void setPosition(int position);
  void startMarquee();

  // Written on the UI thread (initialisation, close), read on the worker.
  std::atomic<HWND> status_{nullptr};
  std::atomic<HWND> label_{nullptr};
  std::atomic<HWND> progress_{nullptr};
  // What the status line and the bar show, as last written by the worker.
  std::wstring shownStatus_;
  bool statusWritten_ = false;
  int setPosition_ = -1;  // -1: not set since the bar changed its mode
  bool marqueeRunning_ = false;  // started for a body without a known length
};

}  // namespace Ui
