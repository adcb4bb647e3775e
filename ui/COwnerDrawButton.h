#pragma once
// The error window's flat, rounded, blue push button with white bold text. It
// takes over a push button of the dialog, makes it owner-drawn and draws it
// in three states: normal, hovered and pressed.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "window/GdiPlus.h"
#include "window/OwnerDraw.h"
#include "window/WindowImpl.h"

namespace Ui {

class COwnerDrawButton final : public Window::CWindowImpl, public Window::COwnerDraw<COwnerDrawButton> {
 public:
  COwnerDrawButton();
  ~COwnerDrawButton() override;

  // Adds the owner-draw style and takes the button over.
  bool subclassWindow(HWND window) override;
  // Paints the button into item's device context; called by the owner on its
  // WM_DRAWITEM for the button, or through the reflected request.
  void drawItem(const DRAWITEMSTRUCT* item);

 protected:
  bool processMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void makeFont();
  void onMouseMove();
  void onMouseLeave();
  void onLeftButtonDown();

  std::uint32_t normalFill_ = 0xFF0696D7;
  std::uint32_t pressedFill_ = 0xFF0584BD;
  std::uint32_t hoverFill_ = 0xFF0584BD;
  std::uint32_t textColor_ = 0xFFFFFFFF;
  std::uint32_t borderColor_ = 0xFF0696D7;
  bool hovering_ = false;
  bool fontMade_ = false;
  std::unique_ptr<Gdiplus::Font> font_;
};

}  // namespace Ui
