#pragma once
// The font of the owner-drawn button: the button's window font made bold,
// sized in points as minus its height times 80 over the screen's vertical
// dots per inch (a height of -11 at 96 dots per inch gives 9.17 points).

#include <windows.h>

#include <memory>

#include "window/GdiPlus.h"

namespace Ui {

// The family is the window font's face, else the generic sans-serif family,
// else (where neither is installed, as under Wine) the face that GDI chooses
// for the window font. Without a window font, the font of the button's device
// context. Null when no font can be made.
std::unique_ptr<Gdiplus::Font> MakeButtonFont(HWND button);

}  // namespace Ui
