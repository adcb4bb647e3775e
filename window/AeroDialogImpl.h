#pragma once
// A dialog that paints itself the way dialogs do on a composited desktop:
// theme data of the "dialog" class, the themed dialog texture, the frame
// extended into the client area by zero margins, no background erasing and
// every paint through a buffered paint. Where there are no visual styles or
// no composition it paints the unthemed colours instead.
//
// A derived dialog hands each message to processAeroMessage first and handles
// it itself when that answers false.

#include <windows.h>

#include <uxtheme.h>

#include "base/Handles.h"
#include "window/DialogImpl.h"

namespace Window {

class CAeroDialogImpl : public CDialogImpl {
 protected:
  CAeroDialogImpl() = default;
  ~CAeroDialogImpl() override;

  bool processAeroMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void onCreate();
  void onDestroy();
  void onPaint(HDC dc);
  void openThemeData();
  void extendFrame();
  void paintLayers(HDC dc, const RECT& client);
  bool compositionEnabled() const;

  Base::ThemeData theme_;
  MARGINS margins_ = {0, 0, 0, 0};
  bool bufferedPaintReady_ = false;
};

}  // namespace Window
