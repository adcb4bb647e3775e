#pragma once
// The error window's troubleshooting link: always drawn in the program's own
// blue, whatever the browser's link colours are, and opened in the user's
// default browser.

#include "window/HyperLinkImpl.h"

namespace Ui {

class CCustomizeHyperLink final : public Window::CHyperLinkImpl {
 public:
  static constexpr COLORREF kLinkColor = RGB(5, 132, 189);

  // Opens every URL of the target (all parts of a package in numbered parts)
  // in the default browser; the link counts as visited once one has opened.
  void navigate() override;

 protected:
  void doPaint(HDC dc) override;
};

}  // namespace Ui
