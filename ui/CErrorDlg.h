#pragma once
// The window that replaces the main window when the package could not be
// downloaded and the document names a direct URL: a message, the error mark,
// a troubleshooting link and a button that opens the package (all its parts)
// in the user's default browser. It runs modally; only a close request (the
// close box, the system menu, Alt+F4) ends it, not Enter or Escape.

#include <windows.h>

#include <memory>
#include <string>

#include "base/Handles.h"
#include "ui/CCustomizeHyperLink.h"
#include "ui/COwnerDrawButton.h"
#include "window/AeroDialogImpl.h"

namespace Window {
class ResourceImage;
}  // namespace Window

namespace Ui {

class CErrorDlg final : public Window::CAeroDialogImpl {
 public:
  static constexpr wchar_t kTroubleshootingUrl[] =
      L"https://support.orvakel.com/articles/basic-troubleshooting-for-download-problems";

  CErrorDlg();
  ~CErrorDlg() override;

  void setDirectUrl(const std::wstring& url) { directUrl_ = url; }

  // Opens every URL of the direct URL in the default browser, in order.
  void BrowserDownload();

 protected:
  // Painted as a plain dialog: the messages do not go to the composited painting.
  bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void onInitDialog();
  void onPaint();
  void onClose();

  HWND message_ = nullptr;
  CCustomizeHyperLink link_;
  std::wstring directUrl_;
  COwnerDrawButton button_;
  Base::UniqueFont messageFont_;
  std::unique_ptr<Window::ResourceImage> errorMark_;
};

}  // namespace Ui
