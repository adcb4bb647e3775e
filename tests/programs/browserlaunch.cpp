// Opens a URL in the user's default https browser as the error window opens each
// part of a download.
//
//   browserlaunch URL
//
// Exit code 0 when the launch was accepted, 1 otherwise, 2 on bad arguments.

#include "base/AnsiText.h"
#include "ui/BrowserLaunch.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  return Ui::OpenInDefaultBrowser(Base::WideToAnsi(argv[1])) ? 0 : 1;
}
