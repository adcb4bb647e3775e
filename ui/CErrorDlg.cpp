#include "ui/CErrorDlg.h"

#include <cstdlib>
#include <exception>

#include "base/AnsiText.h"
#include "resources/ResourceIds.h"
#include "ui/BrowserLaunch.h"
#include "ui/LocalizedStrings.h"
#include "window/CenterWindow.h"
#include "window/PaintScope.h"
#include "window/ResourceImage.h"

namespace Ui {

namespace {

constexpr int kMessagePointsTimesTen = 94;
constexpr INT kMarkLeft = 40;
constexpr INT kMarkTop = 45;
constexpr INT kMarkSize = 24;

std::wstring DialogFaceName(HWND dialog) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW description = {};
  if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) return L"MS Shell Dlg";
  return description.lfFaceName;
}

HFONT CreatePointFont(int pointsTimesTen, const std::wstring& face) {
  LOGFONTW description = {};
  const Base::WindowDc screen = Base::GetWindowDc(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get().dc, LOGPIXELSY) : 96;
  description.lfHeight = -std::abs(MulDiv(pointsTimesTen, dpi, 720));
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&description);
}

}  // namespace

CErrorDlg::CErrorDlg() = default;

CErrorDlg::~CErrorDlg() = default;

bool CErrorDlg::processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      onInitDialog();
      result = TRUE;
      return true;
    case WM_DRAWITEM:
      if (wParam != IDC_BROWSER_DOWNLOAD) return false;
      button_.drawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_PAINT:
      onPaint();
      result = 0;
      return true;
    case WM_CLOSE:
      onClose();
      result = 0;
      return true;
    case WM_DESTROY:
      result = 0;
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != IDC_BROWSER_DOWNLOAD) return false;
      BrowserDownload();
      result = 0;
      return true;
    default:
      return false;
  }
}

void CErrorDlg::onInitDialog() {
  messageFont_.reset(CreatePointFont(kMessagePointsTimesTen, DialogFaceName(hwnd())));
  message_ = GetDlgItem(hwnd(), IDC_ERROR_MESSAGE);
  SendMessageW(message_, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont_.get()), TRUE);

  const HWND linkControl = GetDlgItem(hwnd(), IDC_TROUBLESHOOT_LINK);
  if (link_.normalFont() == nullptr) {
    link_.setNormalFont(reinterpret_cast<HFONT>(SendMessageW(linkControl, WM_GETFONT, 0, 0)));
  }
  link_.subclassWindow(linkControl);
  button_.subclassWindow(GetDlgItem(hwnd(), IDC_BROWSER_DOWNLOAD));

  const std::wstring message = LoadLocalizedString(IDS_DOWNLOAD_PROBLEM);
  const std::wstring troubleshoot = LoadLocalizedString(IDS_TROUBLESHOOT);
  const std::wstring browserDownload = LoadLocalizedString(IDS_BROWSER_DOWNLOAD);
  SetWindowTextW(message_, message.c_str());
  link_.setLabel(troubleshoot);
  link_.setTarget(kTroubleshootingUrl);
  SetWindowTextW(button_.hwnd(), browserDownload.c_str());
  errorMark_ = std::make_unique<Window::ResourceImage>(IDB_ERROR_MARK);
  Window::CenterWindow(hwnd());
}

void CErrorDlg::onPaint() {
  Window::PaintScope paint(hwnd());
  if (!errorMark_ || errorMark_->bitmap() == nullptr || paint.dc() == nullptr) return;
  Gdiplus::Graphics surface(paint.dc());
  surface.DrawImage(errorMark_->bitmap(), kMarkLeft, kMarkTop, kMarkSize, kMarkSize);
}

void CErrorDlg::onClose() {
  if (message_ != nullptr && DestroyWindow(message_)) message_ = nullptr;
  if (link_.hwnd() != nullptr) DestroyWindow(link_.hwnd());
  EndDialog(hwnd(), 0);
}

void CErrorDlg::BrowserDownload() {
  // Runs inside a window procedure: nothing may unwind through the system's frames.
  try {
    for (const std::string& url : SplitPartUrls(Base::WideToAnsi(directUrl_))) OpenInDefaultBrowser(url);
  } catch (const std::exception&) {
  }
}

}  // namespace Ui
