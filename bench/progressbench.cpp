// progressbench: what the main window costs a download per progress message.
//
//   progressbench [MESSAGES]
//
// Streams MESSAGES (default 100000) progress messages as a download of as many
// 8 KB chunks sends them (the percentage after each chunk, two decimals) from a
// worker thread, and prints the time per message for:
//   none     no handler: the sender only builds the message
//   window   the main window's callback
//   direct   every message written through to the controls: the status text,
//            the range query and the two positions (a window that skips
//            nothing; measured on the first 2000 messages)
// and the download rate each allows at one message per 8 KB.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/Handles.h"
#include "resources/ResourceIds.h"
#include "ui/CMainDlg.h"
#include "ui/LocalizedStrings.h"
#include "ui/StatusText.h"
#include "window/GdiplusSession.h"
#include "window/MessageLoop.h"

namespace {

constexpr double kChunkBytes = 8192.0;
constexpr unsigned kDirectMessages = 2000;

struct Bench {
  Ui::CMainDlg* window = nullptr;
  unsigned messages = 100000;
};

std::wstring ProgressMessage(unsigned chunk, unsigned chunks) {
  wchar_t content[64] = {};
  std::swprintf(content, 64, L"{\"progress\":\"%.2f\"}", static_cast<double>(chunk) * 100.0 / chunks);
  return std::wstring(L"{\"className\":\"class GenericStub::CDownloader\",\"content\":") + content + L"}";
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Handle>
double TimeStream(unsigned count, unsigned chunks, Handle handle) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (unsigned chunk = 1; chunk <= count; ++chunk) handle(chunk, ProgressMessage(chunk, chunks));
  QueryPerformanceCounter(&end);
  return Seconds(start, end) / count;
}

void Report(const char* name, double perMessage, double reference) {
  std::printf("%-7s %9.2f us/message  %9.1f MB/s at 8 KB per message  (%.1f x none)\n", name, perMessage * 1e6,
              kChunkBytes / perMessage / 1e6, perMessage / reference);
}

DWORD WINAPI Worker(void* parameter) {
  Bench& bench = *static_cast<Bench*>(parameter);
  const unsigned n = bench.messages;
  GenericStub::CallbackHandler* none = nullptr;
  volatile std::size_t sink = 0;
  const double reference = TimeStream(n, n, [&](unsigned, const std::wstring& message) {
    if (none != nullptr) none->callback(message);
    sink = sink + message.size();
  });
  const double window = TimeStream(n, n, [&](unsigned, const std::wstring& message) { bench.window->callback(message); });

  const HWND dialog = bench.window->hwnd();
  const HWND status = GetDlgItem(dialog, IDC_STATUS);
  const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
  const unsigned direct = n < kDirectMessages ? n : kDirectMessages;
  const double throughCost = TimeStream(direct, n, [&](unsigned chunk, const std::wstring&) {
    const double percent = static_cast<double>(chunk) * 100.0 / n;
    const std::wstring text = Ui::FormatStatusText(Ui::LoadLocalizedString(IDS_DOWNLOADING), {}, percent);
    SetWindowTextW(status, text.c_str());
    PBRANGE range = {};
    SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(percent) + 1, 0);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  });

  std::printf("%u progress messages, one per 8 KB chunk\n", n);
  Report("none", reference, reference);
  Report("window", window, reference);
  Report("direct", throughCost, reference);
  std::fflush(stdout);
  bench.window->CloseMainWindow();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Bench bench;
  if (argc > 1) bench.messages = static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10));
  if (bench.messages == 0) return 2;
  Window::GdiplusSession graphics;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Ui::CMainDlg window;
  bench.window = &window;
  const HWND main = window.create(GetDesktopWindow());
  if (main == nullptr) return 3;
  ShowWindow(main, SW_SHOW);
  const Base::UniqueHandle worker(CreateThread(nullptr, 0, &Worker, &bench, 0, nullptr));
  if (!worker) return 3;
  Window::RunMessageLoop(main);
  WaitForSingleObject(worker.get(), INFINITE);
  DestroyWindow(main);
  return 0;
}
