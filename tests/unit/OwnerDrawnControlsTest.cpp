// The owner-drawn button and the link, drawn into memory: fills of the button's
// states, the pressed text's shift, its font, the link's fixed colour and its
// click rule.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>

#include "ui/ButtonFont.h"
#include "ui/CCustomizeHyperLink.h"
#include "ui/COwnerDrawButton.h"
#include "ui/GdiplusSession.h"

using namespace Ui;

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 30;

// A 32-bit bitmap to draw into and read back.
class Canvas {
 public:
  Canvas() : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  // Bounding box of the pixels of one colour; right is -1 when there are none.
  RECT boxOf(COLORREF color) const {
    RECT box = {kWidth, kHeight, -1, -1};
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (at(x, y) != color) continue;
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
               std::max<LONG>(box.bottom, y)};
      }
    }
    return box;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

class OwnerDrawnControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(graphics_.started());
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    LOGFONTW description = {};
    description.lfHeight = -11;
    lstrcpyW(description.lfFaceName, L"MS Shell Dlg");
    font_ = CreateFontIndirectW(&description);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    DeleteObject(font_);
  }
  HWND child(const wchar_t* className, const wchar_t* text, DWORD style) {
    const HWND window = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, kWidth, kHeight,
                                        parent_, reinterpret_cast<HMENU>(1009), nullptr, nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return window;
  }

  GdiplusSession graphics_;
  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
};

void Draw(COwnerDrawButton& button, const Canvas& canvas, UINT state) {
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 1009;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = state;
  item.hwndItem = button.hwnd();
  item.hDC = canvas.dc();
  item.rcItem = {0, 0, kWidth, kHeight};
  button.drawItem(&item);
}

class RecordingLink final : public CHyperLinkImpl {
 public:
  void navigate() override { ++navigations; }
  int navigations = 0;
};

}  // namespace

TEST_F(OwnerDrawnControlsTest, ButtonFillsFollowHoverAndPressAndThePressedTextShifts) {
  COwnerDrawButton button;
  ASSERT_TRUE(button.subclassWindow(child(L"BUTTON", L"Browser download", BS_PUSHBUTTON)));
  EXPECT_EQ(GetWindowLongPtrW(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  const COLORREF normal = RGB(6, 150, 215), darker = RGB(5, 132, 189), white = RGB(255, 255, 255);

  Canvas plain;
  Draw(button, plain, 0);
  EXPECT_EQ(plain.at(4, kHeight / 2), normal);

  SendMessageW(button.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  Canvas hovered;
  Draw(button, hovered, 0);
  EXPECT_EQ(hovered.at(4, kHeight / 2), darker);

  Canvas pressed;
  Draw(button, pressed, ODS_SELECTED);
  EXPECT_EQ(pressed.at(4, kHeight / 2), darker);
  const RECT up = hovered.boxOf(white), down = pressed.boxOf(white);
  ASSERT_GT(up.right, up.left) << "no text drawn";
  EXPECT_EQ(down.left, up.left + 1);
  EXPECT_EQ(down.top, up.top + 1);

  SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);
  Canvas left;
  Draw(button, left, 0);
  EXPECT_EQ(left.at(4, kHeight / 2), normal);
  // The rounded corner leaves the outermost corner pixel unpainted.
  EXPECT_NE(left.at(0, 0), normal);
}

TEST_F(OwnerDrawnControlsTest, ButtonFontIsBoldAtEightyOverDpiPointsPerPixel) {
  const HWND window = child(L"BUTTON", L"x", BS_PUSHBUTTON);
  const std::unique_ptr<Gdiplus::Font> font = MakeButtonFont(window);
  ASSERT_TRUE(font);
  EXPECT_TRUE(font->GetStyle() & Gdiplus::FontStyleBold);
  // 11 pixels * 80 / 96 = 9.17 points; where GDI chose the face the size is
  // kept in whole pixels (12 of 12.22).
  const double points = font->GetUnit() == Gdiplus::UnitPoint ? font->GetSize() : font->GetSize() * 72.0 / 96.0;
  EXPECT_NEAR(points, 9.17, 0.25);
}

TEST_F(OwnerDrawnControlsTest, LinkKeepsItsBlueWhateverTheBrowserColoursSay) {
  HKEY settings = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &settings, nullptr),
            ERROR_SUCCESS);
  const wchar_t red[] = L"255,0,0";
  RegSetValueExW(settings, L"Anchor Color", 0, REG_SZ, reinterpret_cast<const BYTE*>(red), sizeof red);
  CCustomizeHyperLink link;
  link.setNormalFont(font_);
  const bool subclassed = link.subclassWindow(child(L"STATIC", L"Troubleshoot", SS_LEFT));
  RegDeleteValueW(settings, L"Anchor Color");
  RegCloseKey(settings);
  ASSERT_TRUE(subclassed);
  EXPECT_TRUE(GetWindowLongPtrW(link.hwnd(), GWL_STYLE) & SS_NOTIFY);
  EXPECT_EQ(link.target(), L"Troubleshoot");

  Canvas canvas;
  SendMessageW(link.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_GE(canvas.boxOf(RGB(5, 132, 189)).right, 0) << "the label is drawn in the link blue";
  EXPECT_EQ(canvas.boxOf(RGB(255, 0, 0)).right, -1);
}

TEST_F(OwnerDrawnControlsTest, LinkNavigatesOnlyWhenPressedAndReleasedOnItsLabel) {
  RecordingLink link;
  link.setNormalFont(font_);
  ASSERT_TRUE(link.subclassWindow(child(L"STATIC", L"Troubleshoot", SS_LEFT)));
  link.setTarget(L"https://example.test/help");
  const LPARAM inside = MAKELPARAM(3, 3), outside = MAKELPARAM(kWidth - 2, kHeight - 2);

  SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, outside);
  EXPECT_EQ(link.navigations, 0);
  SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, outside);
  SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(link.navigations, 0);
  SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(link.navigations, 1);
  SendMessageW(link.hwnd(), WM_CHAR, VK_SPACE, 0);
  SendMessageW(link.hwnd(), WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(link.navigations, 3);
  EXPECT_EQ(SendMessageW(link.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
}
