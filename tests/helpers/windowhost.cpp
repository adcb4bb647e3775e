// windowhost: runs the main window on its UI thread, as start-up will, and a
// worker thread that drives it by a script, as a workflow run does.
//
//   windowhost [--direct-url URL] [--now SECONDS] [--bar-log PATH] SCRIPT
//
// SCRIPT is a UTF-8 file with one step per line, run in order on the worker:
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
// display with its message.
// The process ends when the window's message loop ends; its exit code is 0.
//
// Under Wine a progress bar draws no error state and always reports the
// normal one, so the host records each state request the bar receives in the
// bar's window property "Tarnwick.RequestedState" for the inspector to read.
// --bar-log appends one line per position, range or marquee request the bar
// receives to PATH: "pos N", "range LOW HIGH", "marquee ON".

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "FixedClock.h"
#include "base/AnsiText.h"
#include "base/Handles.h"
#include "base/SplitString.h"
#include "base/Utf8Text.h"
#include "download/Clock.h"
#include "resources/ResourceIds.h"
#include "startup/WorkerFailures.h"
#include "ui/CMainDlg.h"
#include "ui/GdiplusSession.h"
#include "ui/MessageLoop.h"

namespace {

struct Run {
  Ui::CMainDlg* window = nullptr;
  std::vector<std::wstring> steps;
  std::wstring directUrl;
};

// Empty lines are no steps.
bool ReadScript(const std::wstring& path, std::vector<std::wstring>& steps) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) return false;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  steps = Base::SplitString(Base::Utf8ToWideLenient(text), L"\r\n");
  return true;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Written beside the target and renamed, so that a reader never sees half of it.
void Signal(const std::wstring& path, HWND window) {
  char text[64] = {};
  std::snprintf(text, sizeof text, "hwnd=0x%llx pid=%lu\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                static_cast<unsigned long>(GetCurrentProcessId()));
  const std::wstring temporary = path + L".part";
  {
    std::ofstream file(temporary.c_str(), std::ios::binary);
    file << text;
  }
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
    window.ShowFailure(argument, run.directUrl);
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
      [&run] { return run.directUrl; });
  return 0;
}

std::wstring gBarLog;

void LogBar(const char* line) {
  if (gBarLog.empty()) return;
  FILE* file = _wfopen(gBarLog.c_str(), L"ab");
  if (file == nullptr) return;
  std::fputs(line, file);
  std::fclose(file);
}

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
  if (line[0] != '\0') LogBar(line);
  return DefSubclassProc(window, message, wParam, lParam);
}

int Usage() {
  std::fprintf(stderr,
               "usage: windowhost [--direct-url URL] [--now SECONDS] [--bar-log PATH] SCRIPT\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Run run;
  std::wstring script;
  long long now = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == L"--direct-url" && more) run.directUrl = argv[++i];
    else if (arg == L"--now" && more) now = std::wcstoll(argv[++i], nullptr, 10);
    else if (arg == L"--bar-log" && more) gBarLog = argv[++i];
    else if (script.empty() && arg.rfind(L"--", 0) != 0) script = arg;
    else return Usage();
  }
  if (script.empty() || !ReadScript(script, run.steps)) return Usage();
  FixedClock fixed(now);
  if (now != 0) GenericStub::InstallClock(&fixed);

  Ui::GdiplusSession graphics;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Ui::CMainDlg window;
  run.window = &window;
  const HWND main = window.create(GetDesktopWindow());
  if (main == nullptr) {
    std::fprintf(stderr, "the main window could not be created: %lu\n", GetLastError());
    return 3;
  }
  SetWindowTextW(main, L"Orvakel Quickset");
  SetWindowSubclass(GetDlgItem(main, IDC_PROGRESS), &RecordBarRequests, 1, 0);
  ShowWindow(main, SW_SHOW);

  const Base::UniqueHandle worker(CreateThread(nullptr, 0, &Worker, &run, 0, nullptr));
  if (!worker) return 3;
  Ui::RunMessageLoop(main);
  DestroyWindow(main);
  std::fflush(stdout);
  // As the program does: the process ends here even while the worker still runs.
  ExitProcess(0);
}
