// The link's click rule: it navigates when a press and its release both land
// on the label, and on Space or Enter; a press that leaves does not count.

#include <gtest/gtest.h>

#include <windows.h>

#include "window/HyperLinkImpl.h"

using namespace Window;

namespace {

class RecordingLink final : public CHyperLinkImpl {
 public:
  void navigate() override { ++navigations; }
  int navigations = 0;
};

TEST(HyperLinkTest, NavigatesOnlyWhenPressedAndReleasedOnItsLabel) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"Troubleshoot", WS_POPUP | SS_LEFT, 0, 0, 160, 30, nullptr,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  RecordingLink link;
  ASSERT_TRUE(link.subclassWindow(window));
  // Without it a static lets every click through to its parent.
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & SS_NOTIFY);
  const LPARAM inside = MAKELPARAM(3, 3), outside = MAKELPARAM(158, 28);

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageW(window, WM_LBUTTONUP, 0, outside);
  EXPECT_EQ(link.navigations, 0);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, outside);
  SendMessageW(window, WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(link.navigations, 0);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageW(window, WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(link.navigations, 1);
  SendMessageW(window, WM_CHAR, VK_SPACE, 0);
  SendMessageW(window, WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(link.navigations, 3);
  EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
  DestroyWindow(window);
}

}  // namespace
