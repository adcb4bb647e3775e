// downloadbench: one download of URL into FILE, timed, for scripts/bench-download.py.
//
//   downloadbench bare|window|quiet URL FILE
//
//   bare    a bare WinHTTP loop: query the available bytes, read them into one
//           buffer, write them to the file; no proxy lookup, no progress
//   window  the program's downloader with the main window receiving progress,
//           the window on this thread and the download on a worker, as in a run
//   quiet   the program's downloader without a progress handler
//
// Prints "seconds=S bytes=N peak_working_set=P" (S from the first request to
// the file written). Exit code 0 when the download succeeded.

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <winhttp.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "download/CDownloadManager.h"
#include "ui/CMainDlg.h"
#include "window/GdiplusSession.h"
#include "window/MessageLoop.h"

namespace {

struct Job {
  std::wstring url, file;
  GenericStub::CallbackHandler* handler = nullptr;
  Ui::CMainDlg* window = nullptr;
  bool ok = false;
  double seconds = 0;
};

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool BareDownload(const std::wstring& url, const std::wstring& file) {
  std::vector<wchar_t> host(url.size() + 1);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host.data();
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return false;
  const Base::WinHttpHandle session(
      WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  const Base::WinHttpHandle connection(WinHttpConnect(session.get(), host.data(), parts.nPort, 0));
  const Base::WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"GET", parts.lpszUrlPath, nullptr,
                                                       WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return false;
  }
  const Base::UniqueHandle out(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  std::vector<BYTE> buffer(1 << 16);
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.get(), &available)) return false;
    if (available == 0) return true;
    if (available > buffer.size()) buffer.resize(available);
    DWORD read = 0, written = 0;
    if (!WinHttpReadData(request.get(), buffer.data(), available, &read)) return false;
    if (!WriteFile(out.get(), buffer.data(), read, &written, nullptr) || written != read) return false;
  }
}

DWORD WINAPI Worker(void* parameter) {
  Job& job = *static_cast<Job*>(parameter);
  const double start = Now();
  const auto downloader = GenericStub::CDownloadManager().createDownloader(job.url, job.file, job.handler);
  job.ok = downloader->connect() && downloader->request();
  job.seconds = Now() - start;
  if (job.window != nullptr) job.window->CloseMainWindow();
  return 0;
}

bool WindowDownload(Job& job) {
  Window::GdiplusSession graphics;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Ui::CMainDlg window;
  job.window = &window;
  job.handler = &window;
  const HWND main = window.create(GetDesktopWindow());
  if (main == nullptr) return false;
  ShowWindow(main, SW_SHOW);
  const Base::UniqueHandle worker(CreateThread(nullptr, 0, &Worker, &job, 0, nullptr));
  if (!worker) return false;
  Window::RunMessageLoop(main);
  WaitForSingleObject(worker.get(), INFINITE);
  DestroyWindow(main);
  return job.ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: downloadbench bare|window|quiet URL FILE\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  Job job{argv[2], argv[3]};
  if (mode == L"bare") {
    const double start = Now();
    job.ok = BareDownload(job.url, job.file);
    job.seconds = Now() - start;
  } else if (mode == L"window") {
    WindowDownload(job);
  } else if (mode == L"quiet") {
    Worker(&job);
  } else {
    return 2;
  }
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExW(job.file.c_str(), GetFileExInfoStandard, &attributes);
  const unsigned long long bytes =
      (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("seconds=%.3f bytes=%llu peak_working_set=%llu\n", job.seconds, bytes,
              static_cast<unsigned long long>(memory.PeakWorkingSetSize));
  return job.ok ? 0 : 1;
}
