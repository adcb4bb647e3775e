#include "window/MessageLoop.h"

namespace Window {

WPARAM RunMessageLoop(HWND dialog) {
  MSG message = {};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    // A failed call leaves message as it was: end with 0, as the quit message would.
    if (got == -1) return 0;
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.wParam;
}

}  // namespace Window
