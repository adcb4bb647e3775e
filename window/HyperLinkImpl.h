#pragma once
// Base of a text link that takes over a static control of a dialog: draws its
// label underlined in the link colour, shows the hand cursor over the label,
// takes the focus and navigates on a click inside the label, or on Enter or
// Space while it has the focus. What navigating means is the derived class's.

#include <windows.h>

#include <string>

#include "base/Handles.h"
#include "window/WindowImpl.h"

namespace Window {

class CHyperLinkImpl : public CWindowImpl {
 public:
  // Takes over window and initialises the link (fonts, label, colours).
  bool subclassWindow(HWND window) override;

  // The font the label is drawn from; the link draws an underlined copy.
  // Without one the link takes the icon-title font when it takes over.
  void setNormalFont(HFONT font) { normalFont_ = font; }
  HFONT normalFont() const { return normalFont_; }
  void setLabel(const std::wstring& label);
  void setTarget(const std::wstring& target) { target_ = target; }
  const std::wstring& label() const { return label_; }
  const std::wstring& target() const { return target_; }

  virtual void navigate() = 0;

 protected:
  bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void doPaint(HDC dc);

  void markVisited();

  COLORREF linkColor_ = RGB(0, 0, 255);
  COLORREF visitedColor_ = RGB(128, 0, 128);

 private:
  void initialise();
  void makeLinkFont();
  void readBrowserColors();
  void computeLabelRect();
  bool labelContains(POINT point) const;
  bool cursorOverLabel() const;
  UINT textFormat() const;

  void onPaint(HDC dc);
  void onSetFont(HFONT font, bool redraw);
  void onLeftButtonDown(POINT point);
  void onLeftButtonUp(POINT point);

  std::wstring label_;
  std::wstring target_;
  HCURSOR handCursor_ = nullptr;
  HFONT normalFont_ = nullptr;
  Base::UniqueFont ownedNormalFont_;
  Base::UniqueFont linkFont_;
  RECT labelRect_ = {};
  bool paintLabel_ = true;
  bool visited_ = false;
};

}  // namespace Window
