#pragma once
// The window of a run: a progress bar and a status line under it. Start-up
// creates it on the UI thread; the worker thread drives it through the
// callback messages of the workflow, the failure display and the close
// operation, which reach the controls by window messages across the threads.
//
// Progress arrives once per received chunk of a download, far more often than
// a screen shows a frame. The worker never waits for it: it keeps the latest
// percentage and asks the UI thread, at most once per frame, to show it.
// Every other change (initializing, extraction, the marquee of a body without
// a length, a failure) is made at once, synchronously on the UI thread, after
// the latest percentage has been shown, so the states appear in the order the
// worker made them. Only the UI thread writes the controls, and it skips what
// would change nothing: a status text equal to the one the line shows, a bar
// position equal to the one last set.

#include <windows.h>

#include <atomic>
#include <functional>
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

  // Keeps the percentage for the next frame; never waits for the UI thread.
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
  // Runs change on the UI thread and returns when it is done; nothing when
  // the window is gone.
  void onWindowThread(const std::function<void()>& change);
  // UI thread: the frame asked for, now or when a frame's time has passed
  // since the last one.
  void onProgressFrame();
  void showLatestProgress();
  void setStatus(const std::wstring& text);
  void setPosition(int position);
  void startMarquee();

  // Written on the UI thread (initialisation, close), read on the worker.
  std::atomic<HWND> status_{nullptr};
  std::atomic<HWND> label_{nullptr};
  std::atomic<HWND> progress_{nullptr};
  // The latest percentage, and whether the UI thread has yet to show it (set
  // by the worker, cleared by the UI thread as it reads the percentage).
  std::atomic<float> latestPercent_{0.0f};
  std::atomic<bool> frameRequested_{false};
  // UI thread only: what the status line and the bar show, as last written.
  std::wstring shownStatus_;
  bool statusWritten_ = false;
  int setPosition_ = -1;  // -1: not set since the bar changed its mode
  ULONGLONG lastFrame_ = 0;  // GetTickCount64 of the last progress shown
  bool marqueeRunning_ = false;  // worker only: started for a body without a known length
};

}  // namespace Ui
