#include "ui/CMainDlg.h"

#include <commctrl.h>

#include <json/json.h>

#include <optional>

#include "base/AnsiText.h"
#include "catalog/ErrorCodes.h"
#include "resources/ResourceIds.h"
#include "ui/CErrorDlg.h"
#include "ui/LocalizedStrings.h"
#include "ui/StatusText.h"
#include "window/CenterWindow.h"
#include "workflow/JsonText.h"

namespace Ui {

namespace {

constexpr char kDownloaderClass[] = "class GenericStub::CDownloader";
constexpr char kExtractionClass[] = "class GenericStub::PackageExtractionAction";
constexpr int kDownloadFailed = Catalog::ErrorCodeNumber(Catalog::ErrorCode::kDownloadRequest);
constexpr int kVerificationFailed = Catalog::ErrorCodeNumber(Catalog::ErrorCode::kExecutableRejected);

// Private messages of the window: the worker asks for a progress frame
// (posted), or hands a change to the UI thread (sent, lParam points to a
// std::function<void()>).
constexpr UINT kProgressFrame = WM_APP + 1;
constexpr UINT kRunChange = WM_APP + 2;
constexpr UINT_PTR kFrameTimer = 1;
constexpr ULONGLONG kFrameMilliseconds = 16;  // one frame of a 60 Hz screen

}  // namespace

CMainDlg::CMainDlg() = default;

CMainDlg::~CMainDlg() = default;

HWND CMainDlg::create(HWND parent) { return Window::CDialogImpl::create(parent, IDD_MAIN); }

bool CMainDlg::processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (processAeroMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_INITDIALOG:
      onInitDialog();
      result = TRUE;
      return true;
    case WM_CLOSE:
      CloseMainWindow();
      result = 0;
      return true;
    case WM_DESTROY:
      result = 0;
      return true;
    case kProgressFrame:
      onProgressFrame();
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kFrameTimer) return false;
      KillTimer(hwnd(), kFrameTimer);
      showLatestProgress();
      result = 0;
      return true;
    case kRunChange:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      result = 0;
      return true;
    default:
      return false;
  }
}

void CMainDlg::onInitDialog() {
  status_ = GetDlgItem(hwnd(), IDC_STATUS);
  label_ = GetDlgItem(hwnd(), IDC_LABEL);
  progress_ = GetDlgItem(hwnd(), IDC_PROGRESS);
  Window::CenterWindow(hwnd());
}

void CMainDlg::callback(const std::wstring& message) {
  // The downloader's progress, once per chunk of a download, in the form it
  // always has: read without building a JSON document.
  if (const std::optional<std::string> progress = PlainProgressText(message)) {
    OnDownloadProgress(ParseProgressPercent(*progress));
    return;
  }
  const std::optional<Json::Value> parsed = GenericStub::ParseJsonText(message);
  if (!parsed) return;
  const Json::Value& root = *parsed;
  const std::string className = root["className"].asString();
  if (className == kDownloaderClass) {
    const Json::Value& content = root["content"];
    // A body without a known length tells the bytes received, not a percentage.
    if (content.isObject() && content.isMember("received") && !content.isMember("progress")) {
      OnDownloadUnmeasured();
    } else {
      OnDownloadProgress(ParseProgressPercent(content["progress"].asString()));
    }
  } else if (className == kExtractionClass) {
    OnExtractionStarted();
  }
}

void CMainDlg::OnDownloadProgress(float percent) {
  latestPercent_.store(percent);
  // Stored before the flag is read: either the UI thread has yet to read the
  // percentage, or this request reaches it.
  if (!frameRequested_.exchange(true)) PostMessageW(hwnd(), kProgressFrame, 0, 0);
}

void CMainDlg::onWindowThread(const std::function<void()>& change) {
  SendMessageW(hwnd(), kRunChange, 0, reinterpret_cast<LPARAM>(&change));
}

void CMainDlg::onProgressFrame() {
  const ULONGLONG since = GetTickCount64() - lastFrame_;
  if (since < kFrameMilliseconds) {
    // The request stays open, so the worker asks no more until the timer.
    SetTimer(hwnd(), kFrameTimer, static_cast<UINT>(kFrameMilliseconds - since), nullptr);
  } else {
    showLatestProgress();
  }
}

void CMainDlg::showLatestProgress() {
  if (!frameRequested_.exchange(false)) return;
  const float percent = latestPercent_.load();
  lastFrame_ = GetTickCount64();
  // The run's language holds for the whole process, on this thread too.
  setStatus(FormatStatusText(LoadLocalizedString(IDS_DOWNLOADING), {}, static_cast<double>(percent)));
  setPosition(PositionOfPercent(percent));
}

// Each position is set twice, one step beyond and then back: the bar draws a
// step back at once, where it would animate a step forward slowly. At the top
// of the range the step beyond needs a range widened by one for a moment.
void CMainDlg::setPosition(int position) {
  if (position == setPosition_) return;
  PBRANGE range = {};
  SendMessageW(progress_, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  if (position < range.iHigh) {
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  } else {
    SendMessageW(progress_, PBM_SETRANGE, 0, MAKELPARAM(range.iLow, range.iHigh + 1));
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(range.iHigh + 1), 0);
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(range.iHigh), 0);
    SendMessageW(progress_, PBM_SETRANGE, 0, MAKELPARAM(range.iLow, range.iHigh));
  }
  setPosition_ = position;
}

void CMainDlg::setStatus(const std::wstring& text) {
  if (statusWritten_ && text == shownStatus_) return;
  SetWindowTextW(status_, text.c_str());
  shownStatus_ = text;
  statusWritten_ = true;
}

void CMainDlg::startMarquee() {
  const LONG_PTR style = GetWindowLongPtrW(progress_, GWL_STYLE);
  if ((style & PBS_MARQUEE) == 0) {
    SetWindowLongPtrW(progress_, GWL_STYLE, style | PBS_MARQUEE);
    setPosition_ = -1;
  }
  SendMessageW(progress_, PBM_SETMARQUEE, TRUE, 0);
}

void CMainDlg::OnExtractionStarted() {
  const std::wstring text = LoadLocalizedString(IDS_EXTRACTING);
  onWindowThread([this, &text] {
    showLatestProgress();
    startMarquee();
    setStatus(text);
  });
}

void CMainDlg::OnDownloadUnmeasured() {
  if (marqueeRunning_) return;
  onWindowThread([this] {
    showLatestProgress();
    startMarquee();
  });
  marqueeRunning_ = true;
}

void CMainDlg::ShowInitializing() {
  const std::wstring text = LoadLocalizedString(IDS_INITIALIZING);
  onWindowThread([this, &text] {
    showLatestProgress();
    setStatus(text);
  });
}

void CMainDlg::ShowFailure(const std::wstring& errorText, const std::wstring& directUrl) {
  const int code = FailureCodeOf(Base::WideToAnsi(errorText));
  std::optional<std::wstring> text;  // none: the error window takes over
  if (code == kDownloadFailed) {
    if (directUrl.empty()) text = LoadLocalizedString(IDS_DOWNLOAD_BLOCKED);
  } else if (code == kVerificationFailed) {
    text = LoadLocalizedString(IDS_LAUNCH_BLOCKED);
  } else {
    text = FormatStatusText(LoadLocalizedString(IDS_ABORTED), errorText);
  }
  onWindowThread([this, &text] {
    showLatestProgress();
    if (text) setStatus(*text);
  });
  if (!text) ShowErrorDialog(errorText, directUrl);
  PostMessageW(progress_, PBM_SETSTATE, PBST_ERROR, 0);
}

void CMainDlg::ShowErrorDialog(const std::wstring& /*errorText*/, const std::wstring& directUrl) {
  ShowWindow(hwnd(), SW_HIDE);
  {
    CErrorDlg errorDialog;
    errorDialog.setDirectUrl(directUrl);
    errorDialog.runModal(GetActiveWindow(), IDD_ERROR);
  }
  // Only now, with the dialog's GDI+ font and image freed on this thread: the
  // close lets the UI thread return and shut GDI+ down.
  PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void CMainDlg::CloseMainWindow() {
  for (std::atomic<HWND>* control : {&status_, &label_, &progress_}) {
    const HWND window = control->load();
    if (window != nullptr && DestroyWindow(window)) control->store(nullptr);
  }
  PostMessageW(hwnd(), WM_QUIT, 0, 0);
}

}  // namespace Ui
