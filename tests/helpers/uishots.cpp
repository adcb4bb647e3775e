// uishots: pictures of the windows in every language, and a check that no
// text is cut off.
//
//   uishots OUTDIR [LOCALE...]
//
// For each language (all fifteen of the program when none is named) it shows
// the main window in each state (initializing, downloading at 37.25%,
// extracting, the failures 3, 8 without a direct URL and 9) and the error
// window, and saves each as OUTDIR\<locale>-<state>.png. Each window is moved
// to the top-left corner of the screen, above all others, and copied from the
// screen: Wine's PrintWindow draws neither the frame nor the controls.
//
// Every text of each window is measured with the font and width it is drawn
// with; a line "clipped <locale> <state> <control id> ..." names each text
// that does not fit its control. Exit code 0 when all fit, 1 otherwise.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/Utf8Text.h"
#include "catalog/ProductLocales.h"
#include "resources/ResourceIds.h"
#include "ui/CErrorDlg.h"
#include "ui/CMainDlg.h"
#include "ui/GdiPlus.h"
#include "ui/GdiplusSession.h"
#include "ui/LocalizedStrings.h"

namespace {

using Base::WideToUtf8Lenient;

constexpr const wchar_t* kStates[] = {L"initializing", L"downloading", L"extracting", L"failure-3",
                                      L"failure-8",    L"failure-9",   L"error-window"};
// image/png
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (GetTickCount64() < end);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Whether the control's text, wrapped in the control's width with the font and
// format it is drawn with, fits the control's client area.
bool TextFits(HWND control, HFONT font, UINT format, std::string& detail) {
  const std::wstring text = TextOf(control);
  if (text.empty()) return true;
  RECT client = {};
  GetClientRect(control, &client);
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  RECT needed = client;
  DrawTextW(dc, text.c_str(), -1, &needed, format | DT_WORDBREAK | DT_CALCRECT);
  if (previous != nullptr) SelectObject(dc, previous);
  ReleaseDC(control, dc);
  char line[160];
  std::snprintf(line, sizeof line, "needs %ldx%ld in %ldx%ld", needed.right - needed.left, needed.bottom - needed.top,
                client.right, client.bottom);
  detail = line;
  return needed.right - needed.left <= client.right && needed.bottom - needed.top <= client.bottom;
}

// The font the button draws its text with (bold, 80/dpi points per pixel of
// the window font's height), for GDI: GDI links in the glyphs that the font
// lacks as the button's drawing does on Windows; Wine's GDI+ draws such glyphs
// as boxes.
Base::UniqueFont ButtonTextFont(HWND button) {
  LOGFONTW description = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof description, &description);
  const HDC dc = GetDC(button);
  const double points = -description.lfHeight * 80.0 / GetDeviceCaps(dc, LOGPIXELSY);
  description.lfHeight = -static_cast<LONG>(points * GetDeviceCaps(dc, LOGPIXELSY) / 72.0 + 0.5);
  ReleaseDC(button, dc);
  description.lfWeight = FW_BOLD;
  return Base::UniqueFont(CreateFontIndirectW(&description));
}

int CheckTexts(HWND window, const std::wstring& locale, const std::wstring& state) {
  int clipped = 0;
  for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    std::string detail;
    const bool button = lstrcmpiW(name, L"Button") == 0;
    if (!button && lstrcmpiW(name, L"Static") != 0) continue;
    // A static text (or the link) draws without prefixes, the button centred.
    const bool fits = button ? TextFits(control, ButtonTextFont(control).get(), DT_CENTER, detail)
                             : TextFits(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                                        DT_NOPREFIX, detail);
    std::printf("%s %s %s %d %s: %s\n", fits ? "fits" : "clipped", WideToUtf8Lenient(locale).c_str(),
                WideToUtf8Lenient(state).c_str(), GetDlgCtrlID(control), detail.c_str(),
                WideToUtf8Lenient(TextOf(control)).c_str());
    if (!fits) ++clipped;
  }
  return clipped;
}

std::unique_ptr<Gdiplus::Bitmap> Capture(HWND window) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
  SelectObject(memory, previous);
  auto image = std::make_unique<Gdiplus::Bitmap>(bitmap, nullptr);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

HWND ShowState(Ui::CMainDlg& main, Ui::CErrorDlg& error, std::size_t state) {
  if (state == 6) {
    const HWND window = error.create(nullptr, IDD_ERROR);
    ShowWindow(window, SW_SHOW);
    return window;
  }
  const HWND window = main.create(GetDesktopWindow());
  SetWindowTextW(window, L"Orvakel Quickset");
  ShowWindow(window, SW_SHOW);
  switch (state) {
    case 0: main.ShowInitializing(); break;
    case 1: main.OnDownloadProgress(37.25f); break;
    case 2:
      main.OnDownloadProgress(37.25f);
      main.OnExtractionStarted();
      break;
    case 3: main.ShowFailure(L"3", L""); break;
    case 4: main.ShowFailure(L"8", L""); break;
    default: main.ShowFailure(L"9", L""); break;
  }
  return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: uishots OUTDIR [LOCALE...]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  CreateDirectoryW(folder.c_str(), nullptr);
  std::vector<std::wstring> locales(argv + 2, argv + argc);
  if (locales.empty()) {
    for (const Catalog::ProductLocale& locale : Catalog::kProductLocales) locales.push_back(locale.name);
  }

  Ui::GdiplusSession graphics;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int clipped = 0;
  for (const std::wstring& locale : locales) {
    Ui::SetRunLanguage(LANGIDFROMLCID(LocaleNameToLCID(locale.c_str(), 0)));
    for (std::size_t state = 0; state < std::size(kStates); ++state) {
      Ui::CMainDlg main;
      Ui::CErrorDlg error;
      const HWND window = ShowState(main, error, state);
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
      Pump(150);
      clipped += CheckTexts(window, locale, kStates[state]);
      Capture(window)->Save((folder + L"\\" + locale + L"-" + kStates[state] + L".png").c_str(), &kPngEncoder, nullptr);
      DestroyWindow(window);
      Pump(10);
    }
  }
  std::printf("%d clipped\n", clipped);
  return clipped == 0 ? 0 : 1;
}
