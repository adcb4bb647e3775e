#include "startup/StartupFlow.h"

#include <windows.h>

#include <commctrl.h>

#include "actions/RegisterActions.h"
#include "base/ExecutionLog.h"
#include "base/ProgramFile.h"
#include "resources/ResourceIds.h"
#include "startup/MetadataRetrieval.h"
#include "startup/StartupPhases.h"
#include "startup/ThreadProc.h"
#include "window/GdiplusSession.h"
#include "window/MessageLoop.h"
#include "workflow/WorkflowError.h"

namespace Startup {

using Base::LogError;
using Base::LogInfo;

namespace {

// The main window from its template, hidden, with the program's icon; null
// when it cannot be created.
HWND CreateMainWindow(HINSTANCE instance, Ui::CMainDlg& dialog) {
  // The progress bar's marquee and error state are those of common controls 6.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND window = dialog.create(GetDesktopWindow());
  if (window == nullptr) return nullptr;
  const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TARNWICK));
  if (icon != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  return window;
}

}  // namespace

int RunStub(HINSTANCE instance, const wchar_t* commandLine, int showState) {
  MarkPhaseBegin(StartupPhase::kBanner);
  EnterProgramFolder();
  LogInfo(L"=============================================\n");
  LogInfo(L"Begin to run Tarnwick\n");
  const auto run = std::make_shared<RunState>();
  GenericStub::RegisterActions(run->workflow);
  LogSupportedActions(run->workflow);
  run->switches = ParseSwitches(SplitCommandLine(commandLine));
  MarkPhaseEnd(StartupPhase::kBanner);
  return RunApplication(instance, showState, run);
}

void EnterProgramFolder() {
  const std::wstring folder = Base::ProgramFolder();
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());  // best effort: a run from an odd folder still goes on
}

void LogSupportedActions(const GenericStub::Workflow& workflow) {
  for (const auto& entry : workflow.registry()) {
    LogInfo(L"SUPPORTED ACTION LIST => [%s]\n", entry.first.c_str());
  }
}

bool RetrieveMetadata(std::wstring& metadata) {
  MetadataRetrieval retrieval;
  return retrieval.finish(metadata);
}

int RunApplication(HINSTANCE instance, int showState, const std::shared_ptr<RunState>& run) {
  LogInfo(L"Begin to call RetrieveMetadata.\n");
  // The signature is checked on another thread while this one starts the
  // graphics library and creates the window, hidden. Nothing is shown, and
  // nothing of the block read, before the signature holds; an untrusted or
  // empty document ends the run with the window never shown. Nothing here
  // logs before the verdict, so the log reads as if one step followed the other.
  MetadataRetrieval retrieval;
  MarkPhaseBegin(StartupPhase::kGraphics);
  const Window::GdiplusSession graphics;
  MarkPhaseEnd(StartupPhase::kGraphics);
  MarkPhaseBegin(StartupPhase::kWindow);
  const HWND window = CreateMainWindow(instance, run->window);
  MarkPhaseEnd(StartupPhase::kWindow);
  MarkPhaseBegin(StartupPhase::kVerdict);
  const bool trusted = retrieval.finish(run->metadata);
  MarkPhaseEnd(StartupPhase::kVerdict);
  if (!trusted || run->metadata.empty()) {
    if (window != nullptr) DestroyWindow(window);
    if (trusted) GenericStub::LogErrorCode(Catalog::ErrorCode::kMetadataEmpty);
    return -1;
  }
  if (window == nullptr) {
    LogError(L"Error in creating main window!\n");
    return 0;
  }
  MarkPhaseBegin(StartupPhase::kShow);
  ShowWindow(window, showState);
  MarkPhaseEnd(StartupPhase::kShow);
  // Without a worker nothing would ever close the window; the user still can.
  if (!StartWorker(run)) LogError(L"Error in starting the worker thread!\n");
  // Painted now, not after whatever the message queue holds first.
  MarkPhaseBegin(StartupPhase::kFirstPaint);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  MarkPhaseEnd(StartupPhase::kFirstPaint);
  ReportPhases();
  const int exitCode = static_cast<int>(Window::RunMessageLoop(window));
  DestroyWindow(window);
  return exitCode;
}

}  // namespace Startup
