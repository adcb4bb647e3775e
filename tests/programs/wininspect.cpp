// wininspect: finds another process's windows and reads or drives them.
//
//   wininspect COMMAND [SELECTOR...] [--control PATH] [--wait MS] [VALUE]
//
// Commands:
//   list             one line per matching window (or control), its text last
//   set-text VALUE   sets it (WM_SETTEXT)
//   click            presses a button (BM_CLICK); any other control (a link) gets
//                    a left click at client point 3,3
//   close            asks the window to close (WM_CLOSE)
//   key KEY          posts a key press (RETURN or ESCAPE)
//                    to the window that has the focus in the target's thread
//   progress         prints position, range (low, high) and marquee=0|1 of a
//                    progress bar; requested-state is the bar's
//                    property "Tarnwick.RequestedState" (a test host records
//                    the bar's state requests there), "none" when absent
// Selector of the top-level window (all given ones must match):
//   --class NAME  --title TEXT  --hwnd 0xHEX  --visible
//   --image PATH  (the full path of the window's program file, any letter case)
// --control PATH walks down from it: steps separated by "/", each "id:N" or
//   "class:NAME", each naming the first matching descendant (depth first) of
//   the previous step; e.g. "id:101/class:Edit".
// --wait MS retries until the window (and control) exist, at most MS milliseconds.
// --all applies set-text, click and close to every match, not only the first.
//
// Window lines are tab-separated: hwnd=0x.. pid=N id=N visible=0|1 class=.. text=..
// (UTF-8; tab, CR and LF in texts written as \t \r \n). Exit code 0 on
// success, 1 when nothing matched, 2 for a usage error.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/SplitString.h"
#include "base/Utf8Text.h"

namespace {

// What a window must be to be one step of a control path.
using Test = std::function<bool(HWND)>;

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// What a window of another process answers to message; 0 when it does not answer within 5 s.
DWORD_PTR Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR reply = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &reply) ? reply : 0;
}

std::wstring TextOf(HWND window) {
  std::vector<wchar_t> buffer(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
  const DWORD_PTR copied = Ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), std::min<DWORD_PTR>(copied, buffer.size() - 1));
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

std::wstring ImageOf(HWND window) {
  const Base::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(window)));
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  return process && QueryFullProcessImageNameW(process.get(), 0, path, &size) ? std::wstring(path, size) : L"";
}

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (char c : Base::WideToUtf8Lenient(text)) {
    const char* escape = c == '\t' ? "\\t" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\\' ? "\\\\" : nullptr;
    out += escape != nullptr ? std::string(escape) : std::string(1, c);
  }
  return out;
}

void PrintWindow(HWND window) {
  std::printf("hwnd=0x%llx\tpid=%lu\tid=%ld\tvisible=%d\tclass=%s\ttext=%s\n",
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
              static_cast<unsigned long>(ProcessOf(window)), static_cast<long>(GetDlgCtrlID(window)),
              IsWindowVisible(window) ? 1 : 0, Escaped(ClassOf(window)).c_str(), Escaped(TextOf(window)).c_str());
}

// The selector's options as given, by name ("--class" to "--visible"), each with its value.
using Selector = std::map<std::wstring, std::wstring>;
const std::set<std::wstring> kSelectorOptions = {L"--class", L"--title", L"--hwnd", L"--image"};

bool Matches(HWND window, const Selector& selector) {
  for (const auto& [option, value] : selector) {
    if (option == L"--visible" && !IsWindowVisible(window)) return false;
    if (option == L"--hwnd" && reinterpret_cast<UINT_PTR>(window) != std::wcstoull(value.c_str(), nullptr, 16)) {
      return false;
    }
    if (option == L"--class" && ClassOf(window) != value) return false;
    if (option == L"--image" && lstrcmpiW(ImageOf(window).c_str(), value.c_str()) != 0) return false;
    if (option == L"--title" && TextOf(window) != value) return false;
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

// "id:N" or "class:NAME" steps separated by "/".
bool ParsePath(const std::wstring& path, std::vector<Test>& steps) {
  for (const std::wstring& step : Base::SplitString(path, L"/")) {
    const std::wstring value = step.substr(step.find(L':') + 1);
    if (step.rfind(L"id:", 0) == 0) {
      steps.push_back([id = std::wcstol(value.c_str(), nullptr, 10)](HWND w) { return GetDlgCtrlID(w) == id; });
    } else if (step.rfind(L"class:", 0) == 0) {
      steps.push_back([value](HWND w) { return ClassOf(w) == value; });
    } else {
      return false;
    }
  }
  return !steps.empty();
}

// The control that path names below window (the window itself for no path), or null.
HWND Follow(HWND window, const std::vector<Test>& path) {
  for (const Test& step : path) {
    const std::vector<HWND> below = WindowsBelow(window);
    const auto found = std::find_if(below.begin(), below.end(), step);
    if (found == below.end()) return nullptr;
    window = *found;
  }
  return window;
}

// Replies of another process's progress bar: messages without pointers only.
void PrintProgress(HWND bar) {
  const auto requested = reinterpret_cast<UINT_PTR>(GetPropW(bar, L"Tarnwick.RequestedState"));
  std::printf("position=%d\tlow=%d\thigh=%d\tmarquee=%d\trequested-state=%s\n", static_cast<int>(Ask(bar, PBM_GETPOS)),
              static_cast<int>(Ask(bar, PBM_GETRANGE, TRUE)), static_cast<int>(Ask(bar, PBM_GETRANGE, FALSE)),
              (GetWindowLongPtrW(bar, GWL_STYLE) & PBS_MARQUEE) != 0 ? 1 : 0,
              requested == 0 ? "none" : std::to_string(requested).c_str());
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
  std::fprintf(stderr, "usage: wininspect COMMAND [SELECTOR...] [--control PATH] [--wait MS] [--all] [VALUE]\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const bool known = command == L"list" || command == L"click" || command == L"close" || command == L"set-text" ||
                     command == L"key" || command == L"progress";
  const bool takesValue = command == L"set-text" || command == L"key";
  Selector selector;
  std::vector<Test> path;
  DWORD waitMs = 0;
  bool all = false;
  std::vector<std::wstring> values;
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool more = i + 1 < argc;
    if (kSelectorOptions.count(arg) != 0 && more) selector[arg] = argv[++i];
    else if (arg == L"--visible") selector[arg];
    else if (arg == L"--all") all = true;
    else if (arg == L"--wait" && more) waitMs = std::wcstoul(argv[++i], nullptr, 10);
    else if (arg == L"--control" && more && ParsePath(argv[++i], path)) continue;
    else if (arg.rfind(L"--", 0) != 0) values.push_back(arg);
    else return Usage();
  }
  if (!known || values.size() != (takesValue ? 1u : 0u)) return Usage();
  if (command == L"key" && values[0] != L"RETURN" && values[0] != L"ESCAPE") return Usage();

  const ULONGLONG deadline = GetTickCount64() + waitMs;
  std::vector<HWND> targets;
  for (;;) {
    targets.clear();
    for (HWND window : WindowsBelow(nullptr)) {
      if (!Matches(window, selector)) continue;
      if (HWND target = Follow(window, path)) targets.push_back(target);
    }
    if (!targets.empty() || GetTickCount64() >= deadline) break;
    Sleep(50);
  }
  if (targets.empty()) return 1;
  if (!all && command != L"list") targets.resize(1);

  for (HWND target : targets) {
    if (command == L"list") {
      PrintWindow(target);
    } else if (command == L"set-text") {
      if (!Ask(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(values[0].c_str()))) return 1;
    } else if (command == L"click") {
      Click(target);
    } else if (command == L"key") {
      PressKey(target, values[0] == L"RETURN" ? VK_RETURN : VK_ESCAPE);
    } else if (command == L"progress") {
      PrintProgress(target);
    } else if (command == L"close") {
      PostMessageW(target, WM_CLOSE, 0, 0);
    }
  }
  std::fflush(stdout);
  return 0;
}
