#include "ui/CCustomizeHyperLink.h"

#include <exception>

#include "base/AnsiText.h"
#include "ui/BrowserLaunch.h"

namespace Ui {

void CCustomizeHyperLink::navigate() {
  // Runs inside a window procedure: nothing may unwind through the system's frames.
  try {
    for (const std::string& url : SplitPartUrls(Base::WideToAnsi(target()))) {
      if (OpenInDefaultBrowser(url)) markVisited();
    }
  } catch (const std::exception&) {
  }
}

void CCustomizeHyperLink::doPaint(HDC dc) {
  linkColor_ = kLinkColor;
  visitedColor_ = kLinkColor;
  Window::CHyperLinkImpl::doPaint(dc);
}

}  // namespace Ui
