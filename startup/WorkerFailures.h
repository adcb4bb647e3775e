#pragma once
// The top of a worker thread that drives the main window: what a failure that
// leaves the run becomes on screen.

#include <functional>
#include <string>

#include "ui/CMainDlg.h"

namespace Startup {

// Runs run on the calling (worker) thread. A failure that leaves it is logged
// and answered as a run's worker answers it:
// - the JSON library's logic error (a value read as a type it does not have)
//   closes the window, which ends the process with exit code 0;
// - a standard logic error (the workflow's decimal error code, or a standard
//   subclass such as invalid-argument) goes to the failure display with its
//   message, and the window stays open;
// - anything else (the unpacking library's own failure types, a runtime or
//   allocation error) goes to the failure display as the code of an unexpected
//   failure (Catalog::ErrorCode::kUnexpectedFailure), so that a run never ends
//   in an abnormal termination.
// directUrl is asked only when a failure is shown.
void RunAndAnswerFailures(Ui::CMainDlg& window, const std::function<void()>& run,
                          const std::function<std::wstring()>& directUrl);

}  // namespace Startup
