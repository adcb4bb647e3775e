#include "startup/StartupFlow.h"

#include <windows.h>

#include <commctrl.h>

#include "actions/RegisterActions.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/ProgramFile.h"
#include "base/SignatureCheck.h"
#include "resources/ResourceIds.h"
#include "startup/MetadataBlock.h"
#include "startup/StartupPhases.h"
#include "startup/ThreadProc.h"
#include "window/GdiplusSession.h"
#include "window/MessageLoop.h"
#include "workflow/WorkflowError.h"

namespace Startup {

using Base::LogError;
using Base::LogInfo;

int RunStub(HINSTANCE instance, const wchar_t* commandLine, int showState) {
  MarkPhaseBegin(StartupPhase::kBanner);
  EnterProgramFolder();
  LogInfo(L"=============================================\n");
  LogInfo(L"Begin to run Tarnwick\n");
  const auto run = std::make_shared<RunState>();
  GenericStub::RegisterActions(run->workflow);
  LogSupportedActions(run->workflow);
  MarkPhaseEnd(StartupPhase::kBanner);
  MarkPhaseBegin(StartupPhase::kGraphics);
  const Window::GdiplusSession graphics;
  MarkPhaseEnd(StartupPhase::kGraphics);
  run->switches = ParseSwitches(SplitCommandLine(commandLine));
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
  MarkPhaseBegin(StartupPhase::kSignature);
  const std::wstring program = Base::ProgramFilePath();
  LogInfo(L"Path of the stub executable = [%s]\n", program.c_str());
  // One handle for the check and the read: the bytes read are the bytes checked.
  const Base::UniqueHandle file(OpenProgramFile(program));
  if (!file) {
    LogInfo(L"The file \"%s\" can not be opened, GetLastError() return value [%lu].\n", program.c_str(),
            GetLastError());
  }
  const LONG verdict = Base::VerifyFileSignature(file.get(), program.c_str());
  MarkPhaseEnd(StartupPhase::kSignature);
  if (verdict != 0) {
    GenericStub::LogErrorCode(Catalog::ErrorCode::kSignatureInvalid);
    return false;
  }
  MarkPhaseBegin(StartupPhase::kBlock);
  metadata = DecryptMetadata(ReadEmbeddedBlockFrom(file.get()));
  MarkPhaseEnd(StartupPhase::kBlock);
  return true;
}

int RunApplication(HINSTANCE instance, int showState, const std::shared_ptr<RunState>& run) {
  LogInfo(L"Begin to call RetrieveMetadata.\n");
  if (!RetrieveMetadata(run->metadata)) return -1;
  if (run->metadata.empty()) {
    GenericStub::LogErrorCode(Catalog::ErrorCode::kMetadataEmpty);
    return -1;
  }
  MarkPhaseBegin(StartupPhase::kWindow);
  // The progress bar's marquee and error state are those of common controls 6.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND window = run->window.create(GetDesktopWindow());
  if (window == nullptr) {
    LogError(L"Error in creating main window!\n");
    return 0;
  }
  const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TARNWICK));
  if (icon != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  MarkPhaseEnd(StartupPhase::kWindow);
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
