#pragma once
// Everything that the run of one document uses, made by start-up and shared
// with the worker thread. The worker holds its own reference, so nothing it
// uses goes away when the window closes first; when the process ends while it
// runs, the worker is stopped before anything here is destroyed.

#include <string>

#include "startup/StartupSwitches.h"
#include "ui/CMainDlg.h"
#include "workflow/ValueStore.h"
#include "workflow/Workflow.h"

namespace Startup {

struct RunState {
  GenericStub::Workflow workflow;  // the registered classes, then the document's actions
  GenericStub::ValueStore store;
  StartupSwitches switches;
  std::wstring metadata;  // the worker's own copy of the trusted document
  Ui::CMainDlg window;
};

}  // namespace Startup
