#include "ui/COwnerDrawButton.h"

#include <string>

#include "ui/ButtonFont.h"
#include "window/WindowText.h"

namespace Ui {

namespace {

constexpr LONG_PTR kOwnerDrawStyle = 0xB;  // BS_OWNERDRAW
constexpr INT kCornerSquare = 6;           // the corners are arcs of radius 3

void AddRoundedRectangle(Gdiplus::GraphicsPath& path, INT left, INT top, INT right, INT bottom) {
  path.AddArc(right - kCornerSquare, top, kCornerSquare, kCornerSquare, 270, 90);
  path.AddArc(right - kCornerSquare, bottom - kCornerSquare, kCornerSquare, kCornerSquare, 0, 90);
  path.AddArc(left, bottom - kCornerSquare, kCornerSquare, kCornerSquare, 90, 90);
  path.AddArc(left, top, kCornerSquare, kCornerSquare, 180, 90);
  path.CloseFigure();
}

}  // namespace

COwnerDrawButton::COwnerDrawButton() = default;

COwnerDrawButton::~COwnerDrawButton() = default;

bool COwnerDrawButton::subclassWindow(HWND window) {
  if (!IsWindow(window)) return false;
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | kOwnerDrawStyle);
  return Window::CWindowImpl::subclassWindow(window);
}

bool COwnerDrawButton::processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MOUSEMOVE:
      onMouseMove();
      return false;
    case WM_MOUSELEAVE:
      onMouseLeave();
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      onLeftButtonDown();
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    default:
      return processOwnerDrawMessage(message, wParam, lParam, result);
  }
}

void COwnerDrawButton::onMouseMove() {
  if (!hovering_) {
    hovering_ = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd(), 0};
    TrackMouseEvent(&track);
  }
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void COwnerDrawButton::onMouseLeave() {
  if (hovering_) {
    hovering_ = false;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void COwnerDrawButton::onLeftButtonDown() {
  if (!hovering_) return;
  TRACKMOUSEEVENT cancel = {sizeof cancel, TME_CANCEL | TME_LEAVE, hwnd(), 0};
  if (TrackMouseEvent(&cancel)) hovering_ = false;
}

void COwnerDrawButton::makeFont() {
  fontMade_ = true;
  font_ = MakeButtonFont(hwnd());
}

void COwnerDrawButton::drawItem(const DRAWITEMSTRUCT* item) {
  if (item == nullptr) return;
  const RECT& rect = item->rcItem;
  const INT width = static_cast<INT>(rect.right - rect.left);
  const INT height = static_cast<INT>(rect.bottom - rect.top);
  if (width <= 0 || height <= 0) return;
  if (!fontMade_) makeFont();

  Gdiplus::Graphics target(item->hDC);
  Gdiplus::Bitmap buffer(width, height, &target);
  Gdiplus::Graphics canvas(&buffer);

  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  const std::uint32_t fill = pressed ? pressedFill_ : hovering_ ? hoverFill_ : normalFill_;
  Gdiplus::GraphicsPath path;
  AddRoundedRectangle(path, 0, 0, width - 1, height - 1);
  Gdiplus::SolidBrush fillBrush{Gdiplus::Color(fill)};
  Gdiplus::Pen border(Gdiplus::Color(borderColor_), 1.0f);
  canvas.FillPath(&fillBrush, &path);
  canvas.DrawPath(&border, &path);

  const std::wstring text = Window::WindowText(hwnd());
  if (!text.empty() && font_) {
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetHotkeyPrefix(Gdiplus::HotkeyPrefixShow);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    const Gdiplus::REAL shift = pressed ? 1.0f : 0.0f;
    const Gdiplus::RectF layout(shift, shift, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    canvas.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    canvas.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    Gdiplus::SolidBrush textBrush{Gdiplus::Color(textColor_)};
    canvas.DrawString(text.c_str(), static_cast<INT>(text.size()), font_.get(), layout, &format, &textBrush);
  }
  target.DrawImage(&buffer, static_cast<INT>(rect.left), static_cast<INT>(rect.top), width, height);
}

}  // namespace Ui
