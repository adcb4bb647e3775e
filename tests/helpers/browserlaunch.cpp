// Opens a download URL in the browser as the error window does: all its parts,
// each signed, one after the other in the default https browser.
//
//   browserlaunch [--now SECONDS] [--await-records FOLDER] URL
//
// --now fixes the clock of the URL token. --await-records waits (at most 20 s
// each) until FOLDER holds one more file after each launch, so that the
// browser's records come in launch order. Prints "parts <n>", one "url <text>"
// line per URL and "opened <0|1>" per launch. Exit code 0 when every launch was
// accepted, 1 otherwise, 2 on bad arguments.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "FixedClock.h"
#include "download/Clock.h"
#include "base/AnsiText.h"
#include "ui/BrowserLaunch.h"

using namespace Base;
using namespace GenericStub;
using namespace Ui;

namespace {

int CountFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

void AwaitFiles(const std::wstring& folder, int count) {
  for (int waited = 0; waited < 20000 && CountFiles(folder) < count; waited += 50) Sleep(50);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring recordFolder;
  std::wstring url;
  long long now = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--now" && i + 1 < argc) {
      now = std::wcstoll(argv[++i], nullptr, 10);
    } else if (arg == L"--await-records" && i + 1 < argc) {
      recordFolder = argv[++i];
    } else {
      url = arg;
    }
  }
  if (url.empty()) {
    std::fprintf(stderr, "usage: browserlaunch [--now SECONDS] [--await-records FOLDER] URL\n");
    return 2;
  }
  FixedClock fixed(now);
  if (now != 0) InstallClock(&fixed);

  const std::vector<std::string> urls = SplitPartUrls(WideToAnsi(url));
  std::printf("parts %u\n", static_cast<unsigned>(urls.size()));
  for (const std::string& part : urls) std::printf("url %s\n", part.c_str());
  const int before = recordFolder.empty() ? 0 : CountFiles(recordFolder);
  bool allOpened = true;
  int launched = 0;
  for (const std::string& part : urls) {
    const bool opened = OpenInDefaultBrowser(part);
    std::printf("opened %d\n", opened ? 1 : 0);
    std::fflush(stdout);
    allOpened = allOpened && opened;
    if (!recordFolder.empty()) AwaitFiles(recordFolder, before + ++launched);
  }
  return allOpened ? 0 : 1;
}
