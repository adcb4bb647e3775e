// wininspect: finds another process's windows and reads or drives them.
//
//   wininspect COMMAND [SELECTOR...] [--control PATH] [--wait MS] [VALUE]
//
// Commands:
//   list             one line per matching top-level window
//   tree             the first match and all its descendants, one line each
//   get-text         prints the text of the window (or control)
//   set-text VALUE   sets it (WM_SETTEXT)
//   click            presses a button (BM_CLICK); any other control (a link) gets
//                    a left click at client point 3,3
//   close            asks the window to close (WM_CLOSE)
//   key VK           posts a key press (decimal virtual key, RETURN or ESCAPE)
//                    to the window that has the focus in the target's thread
//   state            prints visible=0|1 and title=TEXT of the window (or control)
//   progress         prints position, range (low, high), marquee=0|1 and the
//                    state of a progress bar; requested-state is the bar's
//                    property "Tarnwick.RequestedState" (a test host records
//                    the bar's state requests there), "none" when absent
// Selector of the top-level window (all given ones must match):
//   --class NAME  --title TEXT  --title-contains TEXT  --pid N  --hwnd 0xHEX  --visible
//   --image PATH  (the full path of the window's program file, any letter case)
// --control PATH walks down from it: steps separated by "/", each "id:N" or
//   "class:NAME", each naming the first matching descendant (depth first) of
//   the previous step; e.g. "id:101/class:Edit".
// --wait MS retries until the window (and control) exist, at most MS milliseconds.
// --all applies get-text, set-text, click and close to every match, not only the first.
//
// Window lines are tab-separated: hwnd=0x.. pid=N id=N visible=0|1 class=.. text=..
// (UTF-8; tab, CR and LF in texts written as \t \r \n). Exit code 0 on
// success, 1 when nothing matched, 2 for a usage error.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/SplitString.h"
#include "base/Utf8Text.h"

namespace {

struct Selector {
  std::wstring className, title, titleContains;
  DWORD pid = 0;
  HWND hwnd = nullptr;
  bool visibleOnly = false;
  std::wstring image;
};

struct Step {
  enum Kind { kId, kClass } kind;
  std::wstring value;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::vector<wchar_t> buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  return std::wstring(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (char c : Base::WideToUtf8Lenient(text)) {
    if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

void PrintWindow(HWND window, int depth = 0) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::printf("%*shwnd=0x%llx\tpid=%lu\tid=%ld\tvisible=%d\tclass=%s\ttext=%s\n", depth * 2, "",
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), static_cast<unsigned long>(pid),
              static_cast<long>(GetDlgCtrlID(window)), IsWindowVisible(window) ? 1 : 0,
              Escaped(ClassOf(window)).c_str(), Escaped(TextOf(window)).c_str());
}

std::wstring ImageOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const BOOL got = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  return got ? std::wstring(path, size) : std::wstring();
}

bool Matches(HWND window, const Selector& selector) {
  if (selector.hwnd != nullptr && window != selector.hwnd) return false;
  if (selector.visibleOnly && !IsWindowVisible(window)) return false;
  if (selector.pid != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != selector.pid) return false;
  }
  if (!selector.className.empty() && ClassOf(window) != selector.className) return false;
  if (!selector.image.empty() && lstrcmpiW(ImageOf(window).c_str(), selector.image.c_str()) != 0) return false;
  if (!selector.title.empty() || !selector.titleContains.empty()) {
    const std::wstring title = TextOf(window);
    if (!selector.title.empty() && title != selector.title) return false;
    if (!selector.titleContains.empty() && title.find(selector.titleContains) == std::wstring::npos) return false;
  }
  return true;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The top-level windows (parent null) or every descendant of parent, depth first.
std::vector<HWND> WindowsBelow(HWND parent) {
  std::vector<HWND> found;
  if (parent == nullptr) EnumWindows(&Collect, reinterpret_cast<LPARAM>(&found));
  else EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool StepMatches(HWND window, const Step& step) {
  switch (step.kind) {
    case Step::kId: return GetDlgCtrlID(window) == std::wcstol(step.value.c_str(), nullptr, 10);
    case Step::kClass: return ClassOf(window) == step.value;
  }
  return false;
}

HWND FindDescendant(HWND parent, const Step& step) {
  for (HWND window : WindowsBelow(parent)) {
    if (StepMatches(window, step)) return window;
  }
  return nullptr;
}

bool ParsePath(const std::wstring& path, std::vector<Step>& steps) {
  for (const std::wstring& step : Base::SplitString(path, L"/")) {
    const size_t colon = step.find(L':');
    const std::wstring kind = step.substr(0, colon);
    if (colon == std::wstring::npos || (kind != L"id" && kind != L"class")) return false;
    steps.push_back({kind == L"id" ? Step::kId : Step::kClass, step.substr(colon + 1)});
  }
  return !steps.empty();
}

// Replies of another process's progress bar: messages without pointers only.
void PrintProgress(HWND bar) {
  DWORD_PTR position = 0, low = 0, high = 0, state = 0;
  SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position);
  SendMessageTimeoutW(bar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &low);
  SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &high);
  SendMessageTimeoutW(bar, PBM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  const bool marquee = (GetWindowLongPtrW(bar, GWL_STYLE) & PBS_MARQUEE) != 0;
  const HANDLE requested = GetPropW(bar, L"Tarnwick.RequestedState");
  std::printf("position=%d\tlow=%d\thigh=%d\tmarquee=%d\tstate=%d\trequested-state=", static_cast<int>(position),
              static_cast<int>(low), static_cast<int>(high), marquee ? 1 : 0, static_cast<int>(state));
  if (requested == nullptr) std::printf("none\n");
  else std::printf("%d\n", static_cast<int>(reinterpret_cast<UINT_PTR>(requested)));
}

UINT VirtualKeyOf(const std::wstring& name) {
  if (name == L"RETURN") return VK_RETURN;
  if (name == L"ESCAPE") return VK_ESCAPE;
  return static_cast<UINT>(std::wcstoul(name.c_str(), nullptr, 10));
}

void PressKey(HWND target, UINT key) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  HWND receiver = target;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), &info) && info.hwndFocus != nullptr) {
    receiver = info.hwndFocus;
  }
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(receiver, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
  PostMessageW(receiver, WM_KEYUP, key, static_cast<LPARAM>(1u | (scan << 16) | (3u << 30)));
}

void Click(HWND target) {
  if (ClassOf(target) == L"Button") {
    PostMessageW(target, BM_CLICK, 0, 0);
    return;
  }
  const LPARAM point = MAKELPARAM(3, 3);
  PostMessageW(target, WM_MOUSEMOVE, 0, point);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(target, WM_LBUTTONUP, 0, point);
}

int Usage() {
  std::fprintf(stderr,
               "usage: wininspect list|tree|get-text|set-text VALUE|click|close|key VK|state|progress\n"
               "       [--class NAME] [--title TEXT] [--title-contains TEXT] [--pid N] [--hwnd 0xHEX] [--visible]\n"
               "       [--image PATH]\n"
               "       [--control PATH] [--wait MS] [--all]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  Selector selector;
  std::vector<Step> path;
  DWORD waitMs = 0;
  bool all = false;
  std::wstring value;
  bool hasValue = false;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == L"--class" && more) selector.className = argv[++i];
    else if (arg == L"--title" && more) selector.title = argv[++i];
    else if (arg == L"--title-contains" && more) selector.titleContains = argv[++i];
    else if (arg == L"--pid" && more) selector.pid = std::wcstoul(argv[++i], nullptr, 10);
    else if (arg == L"--hwnd" && more) selector.hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[++i], nullptr, 16)));
    else if (arg == L"--visible") selector.visibleOnly = true;
    else if (arg == L"--image" && more) selector.image = argv[++i];
    else if (arg == L"--all") all = true;
    else if (arg == L"--wait" && more) waitMs = std::wcstoul(argv[++i], nullptr, 10);
    else if (arg == L"--control" && more) {
      if (!ParsePath(argv[++i], path)) return Usage();
    } else if (arg.rfind(L"--", 0) != 0 && !hasValue) {
      value = arg;
      hasValue = true;
    } else {
      return Usage();
    }
  }
  const bool known = command == L"list" || command == L"tree" || command == L"get-text" || command == L"click" ||
                     command == L"close" || command == L"set-text" || command == L"key" || command == L"state" ||
                     command == L"progress";
  const bool takesValue = command == L"set-text" || command == L"key";
  if (!known || takesValue != hasValue) return Usage();

  const ULONGLONG deadline = GetTickCount64() + waitMs;
  std::vector<HWND> windows;
  std::vector<HWND> targets;
  for (;;) {
    windows.clear();
    for (HWND window : WindowsBelow(nullptr)) {
      if (Matches(window, selector)) windows.push_back(window);
    }
    targets.clear();
    for (HWND window : windows) {
      HWND current = window;
      for (const Step& step : path) {
        current = FindDescendant(current, step);
        if (current == nullptr) break;
      }
      if (current != nullptr) targets.push_back(current);
    }
    if (!targets.empty() || GetTickCount64() >= deadline) break;
    Sleep(50);
  }
  if (targets.empty()) return 1;
  if (!all) targets.resize(1);

  if (command == L"list") {
    for (HWND window : windows) PrintWindow(window);
  } else if (command == L"tree") {
    PrintWindow(targets[0]);
    for (HWND window : WindowsBelow(targets[0])) {
      int depth = 0;
      for (HWND up = window; up != nullptr && up != targets[0]; up = GetParent(up)) ++depth;
      PrintWindow(window, depth);
    }
  }
  for (HWND target : targets) {
    if (command == L"get-text") {
      std::printf("%s\n", Escaped(TextOf(target)).c_str());
    } else if (command == L"set-text") {
      DWORD_PTR ignored = 0;
      if (!SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG,
                               5000, &ignored)) {
        return 1;
      }
    } else if (command == L"click") {
      Click(target);
    } else if (command == L"key") {
      PressKey(target, VirtualKeyOf(value));
    } else if (command == L"state") {
      std::printf("visible=%d\ttitle=%s\n", IsWindowVisible(target) ? 1 : 0, Escaped(TextOf(target)).c_str());
    } else if (command == L"progress") {
      PrintProgress(target);
    } else if (command == L"close") {
      PostMessageW(target, WM_CLOSE, 0, 0);
    }
  }
  std::fflush(stdout);
  return 0;
}
