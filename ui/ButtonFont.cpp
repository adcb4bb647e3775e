#include "ui/ButtonFont.h"

#include <cmath>

#include "base/Handles.h"

namespace Ui {

namespace {

std::unique_ptr<Gdiplus::Font> Usable(std::unique_ptr<Gdiplus::Font> font) {
  if (font && font->GetLastStatus() != Gdiplus::Ok) font.reset();
  return font;
}

std::unique_ptr<Gdiplus::Font> FromDescription(HDC dc, const LOGFONTW& description) {
  INT style = Gdiplus::FontStyleBold;
  if (description.lfItalic) style |= Gdiplus::FontStyleItalic;
  if (description.lfUnderline) style |= Gdiplus::FontStyleUnderline;
  if (description.lfStrikeOut) style |= Gdiplus::FontStyleStrikeout;
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  const Gdiplus::REAL points =
      static_cast<Gdiplus::REAL>(-description.lfHeight) * 80.0f / static_cast<Gdiplus::REAL>(dpi > 0 ? dpi : 96);
  const Gdiplus::FontFamily family(description.lfFaceName);
  if (family.GetLastStatus() == Gdiplus::Ok) {
    return Usable(std::make_unique<Gdiplus::Font>(&family, points, style, Gdiplus::UnitPoint));
  }
  if (auto generic = Usable(std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), points, style,
                                                            Gdiplus::UnitPoint))) {
    return generic;
  }
  // The same size and style through GDI's own choice of face.
  LOGFONTW bold = description;
  bold.lfWeight = FW_BOLD;
  bold.lfHeight = -static_cast<LONG>(std::lround(points * static_cast<Gdiplus::REAL>(dpi) / 72.0f));
  return Usable(std::make_unique<Gdiplus::Font>(dc, &bold));
}

}  // namespace

std::unique_ptr<Gdiplus::Font> MakeButtonFont(HWND button) {
  const Base::WindowDc buttonDc = Base::GetWindowDc(button);
  if (!buttonDc) return nullptr;
  const HDC dc = buttonDc.get().dc;
  const auto windowFont = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  LOGFONTW description = {};
  std::unique_ptr<Gdiplus::Font> font;
  if (windowFont != nullptr && GetObjectW(windowFont, sizeof description, &description) != 0) {
    font = FromDescription(dc, description);
  } else {
    font = Usable(std::make_unique<Gdiplus::Font>(dc));
  }
  return font;
}

}  // namespace Ui
