#include "ui/MessageLoop.h"

namespace Ui {

WPARAM RunMessageLoop(HWND dialog) {
  MSG message = {};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.wParam;
}

}  // namespace Ui
