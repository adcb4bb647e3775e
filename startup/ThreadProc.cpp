#include "startup/ThreadProc.h"

#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "startup/WorkerFailures.h"
#include "ui/LocalizedStrings.h"
#include "workflow/MetadataDocument.h"
#include "workflow/RunSettings.h"
#include "workflow/WorkflowRunner.h"

namespace Startup {

bool StartWorker(const std::shared_ptr<RunState>& run) {
  auto parameter = std::make_unique<std::shared_ptr<RunState>>(run);
  const Base::UniqueHandle thread(CreateThread(nullptr, 0, &ThreadProc, parameter.get(), 0, nullptr));
  if (!thread) return false;
  parameter.release();  // the thread owns it now; the handle is closed: nothing waits for the thread
  return true;
}

DWORD WINAPI ThreadProc(void* parameter) {
  const std::shared_ptr<RunState> run = [parameter] {
    const std::unique_ptr<std::shared_ptr<RunState>> owned(static_cast<std::shared_ptr<RunState>*>(parameter));
    return *owned;
  }();
  RunAndAnswerFailures(
      run->window, [&run] { RunMainLogic(*run); }, [&run] { return GenericStub::GetDirectUrl(run->store); });
  return 0;
}

void RunMainLogic(RunState& run) {
  if (run.switches.debug) MessageBoxW(run.window.hwnd(), L"Debug", L"Debug", MB_OK);
  Base::LogInfo(L"Begin to run main web install logic.\n");
  if (run.switches.showMetadata) {
    Base::LogError(L"Embedded metadata = [%s].\n", run.metadata.c_str());
  } else {
    // Until the document names its language, a failure shows in the platform's.
    Ui::SetRunLanguage(Ui::PlatformLanguage(GetModuleHandleW(nullptr)));
    run.store.replaceAll(GenericStub::ParseMetadata(run.metadata, run.workflow));
    SetWindowTextW(run.window.hwnd(), GenericStub::GetWindowTitle(run.store).c_str());
    // The language holds for this thread, where every text of the window is loaded.
    Ui::ChooseRunLanguage(GetModuleHandleW(nullptr), GenericStub::GetProductLang(run.store));
    run.window.ShowInitializing();
    GenericStub::RunActions(run.workflow.actions(), run.store, &run.window);
  }
  run.window.CloseMainWindow();
}

}  // namespace Startup
