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
//   sleep MS
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
//   windowhost shots OUTDIR [LOCALE...]
//
// For each language (all fifteen of the program when none is named) shows the
// main window in each state of kShots (steps as above, run on the UI thread)
// and the error window, and saves each as OUTDIR\<locale>-<state>.png. Each
// window is moved to the top-left corner of the screen, above all others, and
// copied from the screen: Wine's PrintWindow draws neither the frame nor the
// controls. Every text of each window is measured with the font and width it
// is drawn with; a line "clipped <locale> <state> <control id> ..." names each
// text that does not fit its control. Exit code 0 when all fit, 1 otherwise.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/AnsiText.h"
#include "base/Handles.h"
#include "base/SplitString.h"
#include "base/Utf8Text.h"
#include "catalog/ProductLocales.h"
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

struct Run {
  Ui::CMainDlg* window = nullptr;
  std::vector<std::wstring> steps;
};

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Written beside the target and renamed, so that a reader never sees half of it.
void Signal(const std::wstring& path, HWND window) {
  char text[64] = {};
  std::snprintf(text, sizeof text, "hwnd=0x%llx pid=%lu\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                static_cast<unsigned long>(GetCurrentProcessId()));
  const std::wstring temporary = path + L".part";
  std::ofstream(temporary.c_str(), std::ios::binary) << text;
  MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void RunStep(Run& run, const std::wstring& step) {
  const std::size_t space = step.find(L' ');
  const std::wstring verb = step.substr(0, space);
  const std::wstring argument = space == std::wstring::npos ? std::wstring() : step.substr(space + 1);
  Ui::CMainDlg& window = *run.window;
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
  } else if (verb == L"sleep") {
    Sleep(static_cast<DWORD>(std::wcstoul(argument.c_str(), nullptr, 10)));
  } else {
    std::fprintf(stderr, "unknown step: %s\n", Base::WideToAnsi(step).c_str());
  }
}

DWORD WINAPI Worker(void* parameter) {
  Run& run = *static_cast<Run*>(parameter);
  Startup::RunAndAnswerFailures(
      *run.window, [&run] { for (const std::wstring& step : run.steps) RunStep(run, step); },
      [] { return std::wstring(); });
  return 0;
}

std::wstring gBarLog;

LRESULT CALLBACK RecordBarRequests(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  char line[64] = {};
  switch (message) {
    case PBM_SETSTATE:
      SetPropW(window, L"Tarnwick.RequestedState", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(wParam)));
      break;
    case PBM_SETPOS:
      std::snprintf(line, sizeof line, "pos %d\n", static_cast<int>(wParam));
      break;
    case PBM_SETRANGE:
      std::snprintf(line, sizeof line, "range %d %d\n", LOWORD(lParam), HIWORD(lParam));
      break;
    case PBM_SETRANGE32:
      std::snprintf(line, sizeof line, "range %d %d\n", static_cast<int>(wParam), static_cast<int>(lParam));
      break;
    case PBM_SETMARQUEE:
      std::snprintf(line, sizeof line, "marquee %d\n", static_cast<int>(wParam));
      break;
    default:
      break;
  }
  if (line[0] != '\0' && !gBarLog.empty()) std::ofstream(gBarLog.c_str(), std::ios::binary | std::ios::app) << line;
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
  Run run;
  std::wstring script;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == L"--bar-log" && more) gBarLog = argv[++i];
    else if (script.empty() && arg.rfind(L"--", 0) != 0) script = arg;
    else return 2;
  }
  std::ifstream file(script.c_str(), std::ios::binary);
  if (!file) return 2;
  // Empty lines are no steps.
  run.steps = Base::SplitString(Base::Utf8ToWideLenient(std::string(
                                    std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>())),
                                L"\r\n");

  Ui::CMainDlg window;
  run.window = &window;
  const HWND main = ShowMainWindow(window);
  if (main == nullptr) {
    std::fprintf(stderr, "the main window could not be created: %lu\n", GetLastError());
    return 3;
  }
  SetWindowSubclass(GetDlgItem(main, IDC_PROGRESS), &RecordBarRequests, 1, 0);
  const Base::UniqueHandle worker(CreateThread(nullptr, 0, &Worker, &run, 0, nullptr));
  if (!worker) return 3;
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

// Whether the control's text, wrapped in the control's width with the font and
// format it is drawn with, fits the control's client area.
bool TextFits(HWND control, HFONT font, UINT format, std::string& detail) {
  const std::wstring text = Window::WindowText(control);
  if (text.empty()) return true;
  RECT client = {};
  GetClientRect(control, &client);
  RECT needed = client;
  {
    const Base::WindowDc dc = Base::GetWindowDc(control);
    const Base::Selection selected = Base::SelectInto(dc.get().dc, font);
    DrawTextW(dc.get().dc, text.c_str(), -1, &needed, format | DT_WORDBREAK | DT_CALCRECT);
  }
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
  const Base::WindowDc dc = Base::GetWindowDc(button);
  const double points = -description.lfHeight * 80.0 / GetDeviceCaps(dc.get().dc, LOGPIXELSY);
  description.lfHeight = -static_cast<LONG>(points * GetDeviceCaps(dc.get().dc, LOGPIXELSY) / 72.0 + 0.5);
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
                WideToUtf8Lenient(Window::WindowText(control)).c_str());
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
  if (argc < 3) return 2;
  const std::wstring folder = argv[2];
  CreateDirectoryW(folder.c_str(), nullptr);
  std::vector<std::wstring> locales(argv + 3, argv + argc);
  if (locales.empty()) {
    for (const Catalog::ProductLocale& locale : Catalog::kProductLocales) locales.push_back(locale.name);
  }
  int clipped = 0;
  for (const std::wstring& locale : locales) {
    Ui::SetRunLanguage(LANGIDFROMLCID(LocaleNameToLCID(locale.c_str(), 0)));
    for (const Shot& shot : kShots) {
      Ui::CMainDlg main;
      Ui::CErrorDlg error;
      Run run;
      run.window = &main;
      HWND window = nullptr;
      if (shot.steps.empty()) {
        window = error.create(nullptr, IDD_ERROR);
        ShowWindow(window, SW_SHOW);
      } else {
        window = ShowMainWindow(main);
        for (const std::wstring& step : shot.steps) RunStep(run, step);
      }
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
  if (code == 2) {
    std::fprintf(stderr, "usage: windowhost [--bar-log PATH] SCRIPT\n"
                         "       windowhost shots OUTDIR [LOCALE...]\n");
  }
  return code;
}
