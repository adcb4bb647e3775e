// windowhost: the program's windows with the program's resources, in two modes.
//
//   windowhost [--bar-log PATH] SCRIPT
//
// runs the main window on its UI thread, as start-up will, and a worker thread
// that drives it by SCRIPT, as a workflow run does. SCRIPT is a UTF-8 file with
// one step per line, run in order on the worker:
//   init              the "Initializing ..." status
//   progress TEXT     the downloader's progress message carrying TEXT
//   extract           the extraction action's begin message
//   message JSON      a callback message as it stands
//   fail TEXT         the failure display for the error text TEXT
//   close             the end of a run: the window closes
//   raise TEXT        throws a std::runtime_error with TEXT, a failure that is
//                     neither kind of logic error
//   signal PATH       writes "hwnd=0x<main window> pid=<process id>" to PATH
//   await PATH        waits until PATH exists (at most 60 s)
// The worker ends as a run's worker does (Startup::RunAndAnswerFailures): a JSON
// logic error closes the window, any other logic error goes to the failure
// display with its message. The process ends when the window's message loop
// ends; its exit code is 0.
//
// Under Wine a progress bar draws no error state and always reports the
// normal one, so the host records each state request the bar receives in the
// bar's window property "Tarnwick.RequestedState" for the inspector to read.
// --bar-log appends one line per position, range or marquee request the bar
// receives to PATH: "pos N", "range LOW HIGH", "marquee ON".
//
//   windowhost shots OUTDIR LOCALE...
//
// For each language named shows the main window in each state of kShots (steps as above, run on the UI thread)
// and the error window, and saves each as OUTDIR\<locale>-<state>.png. Each
// window is moved to the top-left corner of the screen, above all others, and
// copied from the screen: Wine's PrintWindow draws neither the frame nor the
// controls. Every text of each window is measured with the font and width it
// is drawn with; a line "clipped <locale> <state> <control id> ..." names each
// text that does not fit its control. Exit code 0 when all fit, 1 otherwise.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/AnsiText.h"
#include "base/Handles.h"
#include "base/SplitString.h"
#include "base/Utf8Text.h"
#include "resources/ResourceIds.h"
#include "startup/WorkerFailures.h"
#include "ui/CErrorDlg.h"
#include "ui/CMainDlg.h"
#include "ui/LocalizedStrings.h"
#include "window/GdiPlus.h"
#include "window/GdiplusSession.h"
#include "window/MessageLoop.h"
#include "window/WindowText.h"

namespace {

using Base::WideToUtf8Lenient;

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Written beside the target and renamed, so that a reader never sees half of it.
void Signal(const std::wstring& path, HWND window) {
  const std::wstring temporary = path + L".part";
  std::ofstream(temporary.c_str(), std::ios::binary) << "hwnd=0x" << std::hex << reinterpret_cast<UINT_PTR>(window)
                                                     << std::dec << " pid=" << GetCurrentProcessId() << "\n";
  MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void RunStep(Ui::CMainDlg& window, const std::wstring& step) {
  const std::size_t space = step.find(L' ');
  const std::wstring verb = step.substr(0, space);
  const std::wstring argument = space == std::wstring::npos ? std::wstring() : step.substr(space + 1);
  if (verb == L"init") {
    window.ShowInitializing();
  } else if (verb == L"progress") {
    window.callback(L"{\"className\":\"class GenericStub::CDownloader\",\"content\":{\"progress\":\"" + argument +
                    L"\"}}");
  } else if (verb == L"extract") {
    window.callback(L"{\"className\":\"class GenericStub::PackageExtractionAction\",\"content\":\"BEGIN\"}");
  } else if (verb == L"message") {
    window.callback(argument);
  } else if (verb == L"fail") {
    window.ShowFailure(argument, std::wstring());
  } else if (verb == L"close") {
    window.CloseMainWindow();
  } else if (verb == L"raise") {
    throw std::runtime_error(Base::WideToAnsi(argument));
  } else if (verb == L"signal") {
    Signal(argument, window.hwnd());
  } else if (verb == L"await") {
    for (int waited = 0; waited < 60000 && !FileExists(argument); waited += 20) Sleep(20);
  } else {
    std::fprintf(stderr, "unknown step: %s\n", Base::WideToAnsi(step).c_str());
  }
}

std::wstring gBarLog;

LRESULT CALLBACK RecordBarRequests(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const auto number = [](auto value) { return std::to_string(static_cast<int>(value)); };
  std::string line;
  if (message == PBM_SETSTATE) {
    SetPropW(window, L"Tarnwick.RequestedState", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(wParam)));
  } else if (message == PBM_SETPOS) {
    line = "pos " + number(wParam);
  } else if (message == PBM_SETRANGE) {
    line = "range " + number(LOWORD(lParam)) + " " + number(HIWORD(lParam));
  } else if (message == PBM_SETRANGE32) {
    line = "range " + number(wParam) + " " + number(lParam);
  } else if (message == PBM_SETMARQUEE) {
    line = "marquee " + number(wParam);
  }
  if (!line.empty() && !gBarLog.empty()) {
    std::ofstream(gBarLog.c_str(), std::ios::binary | std::ios::app) << line << "\n";
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

HWND ShowMainWindow(Ui::CMainDlg& window) {
  const HWND main = window.create(GetDesktopWindow());
  if (main == nullptr) return nullptr;
  SetWindowTextW(main, L"Orvakel Quickset");
  ShowWindow(main, SW_SHOW);
  return main;
}

int Host(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--bar-log") {
    gBarLog = argv[2];
  } else if (argc != 2) {
    return 2;
  }
  std::ifstream file(argv[argc - 1], std::ios::binary);
  if (!file) return 2;
  // Empty lines are no steps.
  const std::vector<std::wstring> steps = Base::SplitString(
      Base::Utf8ToWideLenient(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())),
      L"\r\n");

  Ui::CMainDlg window;
  const HWND main = ShowMainWindow(window);
  if (main == nullptr) {
    std::fprintf(stderr, "the main window could not be created: %lu\n", GetLastError());
    return 3;
  }
  SetWindowSubclass(GetDlgItem(main, IDC_PROGRESS), &RecordBarRequests, 1, 0);
  std::thread([&window, steps] {
    Startup::RunAndAnswerFailures(
        window, [&] { for (const std::wstring& step : steps) RunStep(window, step); }, [] { return std::wstring(); });
  }).detach();
  Window::RunMessageLoop(main);
  DestroyWindow(main);
  std::fflush(stdout);
  // As the program does: the process ends here even while the worker still runs.
  ExitProcess(0);
}

struct Shot {
  const wchar_t* state;
  std::vector<std::wstring> steps;  // none: the error window
};
const Shot kShots[] = {{L"initializing", {L"init"}},
                       {L"downloading", {L"progress 37.25"}},
                       {L"extracting", {L"progress 37.25", L"extract"}},
                       {L"failure-3", {L"fail 3"}},
                       {L"failure-8", {L"fail 8"}},
                       {L"failure-9", {L"fail 9"}},
                       {L"error-window", {}}};
// image/png
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

void Pump(DWORD milliseconds) {
  for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(10)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

// The font the button draws its text with (bold, 80/dpi points per pixel of
// the window font's height), for GDI: GDI links in the glyphs that the font
// lacks as the button's drawing does on Windows; Wine's GDI+ draws such glyphs
// as boxes. GDI's height of p points is p * dpi / 72 pixels: the dpi cancels.
Base::UniqueFont ButtonTextFont(HWND button) {
  LOGFONTW description = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof description, &description);
  description.lfHeight = -static_cast<LONG>(-description.lfHeight * 80.0 / 72.0 + 0.5);
  description.lfWeight = FW_BOLD;
  return Base::UniqueFont(CreateFontIndirectW(&description));
}

// Measures the text of each static text (the link too) and button of window,
// wrapped in the control's width with the font and format it is drawn with,
// against the control's client area: one line each. Returns how many do not fit.
int CheckTexts(HWND window, const std::wstring& locale, const std::wstring& state) {
  int clipped = 0;
  for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const bool button = lstrcmpiW(name, L"Button") == 0;
    const std::wstring text = Window::WindowText(control);
    if ((!button && lstrcmpiW(name, L"Static") != 0) || text.empty()) continue;
    RECT client = {};
    GetClientRect(control, &client);
    RECT needed = client;
    // A static text (or the link) draws without prefixes, the button centred.
    const Base::UniqueFont buttonFont = button ? ButtonTextFont(control) : Base::UniqueFont();
    const auto windowFont = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const Base::WindowDc dc = Base::GetWindowDc(control);
    const Base::Selection selected = Base::SelectInto(dc.get().dc, button ? buttonFont.get() : windowFont);
    DrawTextW(dc.get().dc, text.c_str(), -1, &needed, (button ? DT_CENTER : DT_NOPREFIX) | DT_WORDBREAK | DT_CALCRECT);
    const bool fits = needed.right - needed.left <= client.right && needed.bottom - needed.top <= client.bottom;
    std::printf("%s %s %s %d needs %ldx%ld in %ldx%ld: %s\n", fits ? "fits" : "clipped",
                WideToUtf8Lenient(locale).c_str(), WideToUtf8Lenient(state).c_str(), GetDlgCtrlID(control),
                needed.right - needed.left, needed.bottom - needed.top, client.right, client.bottom,
                WideToUtf8Lenient(text).c_str());
    if (!fits) ++clipped;
  }
  return clipped;
}

void SavePicture(HWND window, const std::wstring& path) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const Base::WindowDc screen = Base::GetWindowDc(nullptr);
  const Base::MemoryDc memory(CreateCompatibleDC(screen.get().dc));
  const Base::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get().dc, width, height));
  {
    const Base::Selection selected = Base::SelectInto(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get().dc, frame.left, frame.top, SRCCOPY);
  }
  Gdiplus::Bitmap(bitmap.get(), nullptr).Save(path.c_str(), &kPngEncoder, nullptr);
}

int Shots(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const std::wstring folder = argv[2];
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::vector<std::wstring> locales(argv + 3, argv + argc);
  int clipped = 0;
  for (const std::wstring& locale : locales) {
    Ui::SetRunLanguage(LANGIDFROMLCID(LocaleNameToLCID(locale.c_str(), 0)));
    for (const Shot& shot : kShots) {
      Ui::CMainDlg main;
      Ui::CErrorDlg error;
      const HWND window = shot.steps.empty() ? error.create(nullptr, IDD_ERROR) : ShowMainWindow(main);
      ShowWindow(window, SW_SHOW);
      for (const std::wstring& step : shot.steps) RunStep(main, step);
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
      Pump(150);
      clipped += CheckTexts(window, locale, shot.state);
      SavePicture(window, folder + L"\\" + locale + L"-" + shot.state + L".png");
      DestroyWindow(window);
      Pump(10);
    }
  }
  std::printf("%d clipped\n", clipped);
  return clipped == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const Window::GdiplusSession graphics;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const int code = argc > 1 && std::wstring(argv[1]) == L"shots" ? Shots(argc, argv) : Host(argc, argv);
  if (code == 2) std::fprintf(stderr, "usage: windowhost [--bar-log PATH] SCRIPT | shots OUTDIR LOCALE...\n");
  return code;
}
