#include "window/HyperLinkImpl.h"

#include <windowsx.h>

#include "base/RegistryKey.h"
#include "window/AnchorColor.h"
#include "window/PaintScope.h"
#include "window/WindowText.h"

namespace Window {

namespace {

bool IsStatic(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"Static") == 0;
}

// Statics that show an image or a frame rather than their text.
bool IsImageStatic(LONG_PTR style) {
  switch (style & SS_TYPEMASK) {
    case SS_ICON:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
    case SS_OWNERDRAW:
      return true;
    default:
      return false;
  }
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

bool CHyperLinkImpl::subclassWindow(HWND window) {
  if (!CWindowImpl::subclassWindow(window)) return false;
  initialise();
  return true;
}

void CHyperLinkImpl::initialise() {
  if (IsStatic(hwnd())) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style | SS_NOTIFY);
    paintLabel_ = !IsImageStatic(style);
  }
  handCursor_ = LoadCursorW(nullptr, IDC_HAND);
  if (paintLabel_) {
    if (normalFont_ == nullptr) {
      LOGFONTW iconTitle = {};
      if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0)) {
        ownedNormalFont_.reset(CreateFontIndirectW(&iconTitle));
        normalFont_ = ownedNormalFont_.get();
      }
    }
    if (!linkFont_) makeLinkFont();
  }
  if (label_.empty()) label_ = WindowText(hwnd());
  computeLabelRect();
  if (target_.empty()) target_ = label_;
  if (paintLabel_) readBrowserColors();
}

void CHyperLinkImpl::makeLinkFont() {
  linkFont_.reset();
  LOGFONTW description = {};
  if (normalFont_ == nullptr || GetObjectW(normalFont_, sizeof description, &description) == 0) return;
  description.lfUnderline = TRUE;
  linkFont_.reset(CreateFontIndirectW(&description));
}

void CHyperLinkImpl::readBrowserColors() {
  const Base::RegistryKey settings(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings");
  if (!settings.valid()) return;
  if (auto text = settings.readString(L"Anchor Color")) {
    if (auto color = ParseAnchorColor(*text)) linkColor_ = *color;
  }
  if (auto text = settings.readString(L"Anchor Color Visited")) {
    if (auto color = ParseAnchorColor(*text)) visitedColor_ = *color;
  }
}

void CHyperLinkImpl::setLabel(const std::wstring& label) {
  label_ = label;
  if (hwnd() == nullptr) return;
  computeLabelRect();
  SetWindowTextW(hwnd(), label_.c_str());
}

UINT CHyperLinkImpl::textFormat() const {
  const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
  UINT format = DT_WORDBREAK | DT_NOPREFIX;
  if ((style & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
  if ((style & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
  return format;
}

void CHyperLinkImpl::computeLabelRect() {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  labelRect_ = client;
  const Base::WindowDc dc = Base::GetWindowDc(hwnd());
  if (!dc) return;
  const Base::Selection font = Base::SelectInto(dc.get().dc, linkFont_ ? linkFont_.get() : normalFont_);
  RECT text = client;
  DrawTextW(dc.get().dc, label_.c_str(), -1, &text, textFormat() | DT_CALCRECT);
  const UINT format = textFormat();
  const LONG width = text.right - text.left;
  if ((format & DT_CENTER) != 0) text.left = client.left + (client.right - client.left - width) / 2;
  if ((format & DT_RIGHT) != 0) text.left = client.right - width;
  text.right = text.left + width;
  labelRect_ = text;
}

bool CHyperLinkImpl::labelContains(POINT point) const { return PtInRect(&labelRect_, point) != FALSE; }

bool CHyperLinkImpl::cursorOverLabel() const {
  POINT cursor = {};
  if (!GetCursorPos(&cursor) || !ScreenToClient(hwnd(), &cursor)) return false;
  return labelContains(cursor);
}

void CHyperLinkImpl::markVisited() {
  visited_ = true;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool CHyperLinkImpl::processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!paintLabel_) return false;
      if (message == WM_PAINT && wParam == 0) {
        PaintScope paint(hwnd());
        onPaint(paint.dc());
      } else {
        onPaint(reinterpret_cast<HDC>(wParam));
      }
      result = 0;
      return true;
    case WM_ERASEBKGND:
      if (!paintLabel_) return false;
      result = 1;
      return true;
    case WM_MOUSEMOVE:
      if (!target_.empty() && labelContains(PointOf(lParam))) SetCursor(handCursor_);
      result = 0;
      return true;
    case WM_SETCURSOR:
      if (target_.empty() || !cursorOverLabel()) return false;
      SetCursor(handCursor_);
      result = TRUE;
      return true;
    case WM_LBUTTONDOWN:
      onLeftButtonDown(PointOf(lParam));
      result = 0;
      return true;
    case WM_LBUTTONUP:
      onLeftButtonUp(PointOf(lParam));
      result = 0;
      return true;
    case WM_CHAR:
      if (wParam != VK_RETURN && wParam != VK_SPACE) return false;
      navigate();
      result = 0;
      return true;
    case WM_GETDLGCODE:
      result = DLGC_WANTCHARS;
      return true;
    case WM_SETFONT:
      onSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      result = 0;
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(normalFont_);
      return true;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, TRUE);
      result = 0;
      return true;
    case WM_SIZE:
      computeLabelRect();
      InvalidateRect(hwnd(), nullptr, TRUE);
      result = 0;
      return true;
    case WM_DESTROY:
      linkFont_.reset();
      ownedNormalFont_.reset();
      normalFont_ = nullptr;
      return false;
    default:
      return false;
  }
}

void CHyperLinkImpl::onSetFont(HFONT font, bool redraw) {
  if (font != ownedNormalFont_.get()) ownedNormalFont_.reset();
  normalFont_ = font;
  makeLinkFont();
  computeLabelRect();
  if (redraw) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CHyperLinkImpl::onLeftButtonDown(POINT point) {
  if (!labelContains(point)) return;
  SetFocus(hwnd());
  SetCapture(hwnd());
}

void CHyperLinkImpl::onLeftButtonUp(POINT point) {
  if (GetCapture() != hwnd()) return;
  ReleaseCapture();
  if (labelContains(point)) navigate();
}

void CHyperLinkImpl::onPaint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
  FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  doPaint(dc);
}

void CHyperLinkImpl::doPaint(HDC dc) {
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF color = !IsWindowEnabled(hwnd()) ? GetSysColor(COLOR_GRAYTEXT) : visited_ ? visitedColor_ : linkColor_;
  const COLORREF previousColor = SetTextColor(dc, color);
  {
    const Base::Selection font = Base::SelectInto(dc, linkFont_ ? linkFont_.get() : normalFont_);
    RECT text = labelRect_;
    DrawTextW(dc, label_.c_str(), -1, &text, textFormat());
  }
  SetTextColor(dc, previousColor);
  SetBkMode(dc, previousMode);
  if (GetFocus() == hwnd()) DrawFocusRect(dc, &labelRect_);
}

}  // namespace Window
