#include "window/AeroDialogImpl.h"

#include <dwmapi.h>
#include <vsstyle.h>

#include "window/PaintScope.h"

namespace Window {

CAeroDialogImpl::~CAeroDialogImpl() {
  if (bufferedPaintReady_) BufferedPaintUnInit();
}

bool CAeroDialogImpl::processAeroMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      onCreate();
      return false;  // the dialog's own initialisation follows
    case WM_DESTROY:
      onDestroy();
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PaintScope paint(hwnd());
      onPaint(paint.dc());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      onPaint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ACTIVATE:
      if (!compositionEnabled()) InvalidateRect(hwnd(), nullptr, FALSE);
      return false;
    case WM_DWMCOMPOSITIONCHANGED:
      extendFrame();
      return false;
    case WM_THEMECHANGED:
      openThemeData();
      return false;
    default:
      return false;
  }
}

void CAeroDialogImpl::onCreate() {
  openThemeData();
  EnableThemeDialogTexture(hwnd(), ETDT_ENABLE);
  extendFrame();
  if (!bufferedPaintReady_) bufferedPaintReady_ = SUCCEEDED(BufferedPaintInit());
}

void CAeroDialogImpl::onDestroy() { theme_.reset(); }

void CAeroDialogImpl::openThemeData() {
  theme_.reset();
  if (IsThemeActive()) theme_.reset(OpenThemeData(hwnd(), L"dialog"));
}

void CAeroDialogImpl::extendFrame() {
  if (compositionEnabled()) DwmExtendFrameIntoClientArea(hwnd(), &margins_);
}

bool CAeroDialogImpl::compositionEnabled() const {
  BOOL enabled = FALSE;
  return SUCCEEDED(DwmIsCompositionEnabled(&enabled)) && enabled;
}

void CAeroDialogImpl::onPaint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  BP_PAINTPARAMS params = {};
  params.cbSize = sizeof params;
  params.dwFlags = BPPF_ERASE;
  HDC bufferDc = nullptr;
  const HPAINTBUFFER buffer =
      bufferedPaintReady_ ? BeginBufferedPaint(dc, &client, BPBF_TOPDOWNDIB, &params, &bufferDc) : nullptr;
  if (buffer == nullptr) {
    paintLayers(dc, client);
    return;
  }
  paintLayers(bufferDc, client);
  EndBufferedPaint(buffer, TRUE);
}

// Three layers, as a composited dialog paints them: the frame colour under
// the whole client area, the window colour under the view, and the dialog
// background over it. Only the last one stays visible here, because the
// margins are zero and the view is the whole client area.
void CAeroDialogImpl::paintLayers(HDC dc, const RECT& client) {
  const HTHEME theme = theme_.get();
  if (compositionEnabled()) {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  } else if (theme != nullptr) {
    const int state = GetActiveWindow() == hwnd() ? FS_ACTIVE : FS_INACTIVE;
    DrawThemeBackground(theme, dc, WP_FRAMEBOTTOM, state, &client, nullptr);
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENUBAR));
  }
  RECT view = client;
  view.left += margins_.cxLeftWidth;
  view.top += margins_.cyTopHeight;
  view.right -= margins_.cxRightWidth;
  view.bottom -= margins_.cyBottomHeight;
  FillRect(dc, &view, GetSysColorBrush(COLOR_WINDOW));
  if (theme != nullptr) {
    DrawThemeBackground(theme, dc, WP_DIALOG, 1, &view, nullptr);
  } else {
    FillRect(dc, &view, GetSysColorBrush(COLOR_BTNFACE));
  }
}

}  // namespace Window
