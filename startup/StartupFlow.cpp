#include "startup/StartupFlow.h"

#include <windows.h>

#include <cstdlib>

#include "actions/RegisterActions.h"
#include "base/ExecutionLog.h"
#include "base/SignatureCheck.h"
#include "startup/MetadataBlock.h"
#include "workflow/WorkflowError.h"

namespace Startup {

using Base::LogError;
using Base::LogInfo;

int RunStub(const wchar_t* commandLine) {
  EnterProgramFolder();
  LogInfo(L"=============================================\n");
  LogInfo(L"Begin to run Tarnwick\n");
  GenericStub::Workflow workflow;
  GenericStub::RegisterActions(workflow);
  LogSupportedActions(workflow);
  const StartupSwitches switches = ParseSwitches(SplitCommandLine(commandLine));
  return RunApplication(switches, workflow);
}

std::wstring ProgramFilePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return path;
}

void EnterProgramFolder() {
  const std::wstring program = ProgramFilePath();
  if (program.empty()) return;
  wchar_t drive[_MAX_DRIVE] = {};
  wchar_t folder[_MAX_DIR] = {};
  if (_wsplitpath_s(program.c_str(), drive, _MAX_DRIVE, folder, _MAX_DIR, nullptr, 0, nullptr, 0) != 0) {
    return;
  }
  wchar_t joined[MAX_PATH] = {};
  if (_wmakepath_s(joined, MAX_PATH, drive, folder, nullptr, nullptr) != 0) return;
  SetCurrentDirectoryW(joined);  // best effort: a run from an odd folder still goes on
}

void LogSupportedActions(const GenericStub::Workflow& workflow) {
  for (const auto& entry : workflow.registry()) {
    LogInfo(L"SUPPORTED ACTION LIST => [%s]\n", entry.first.c_str());
  }
}

bool RetrieveMetadata(std::wstring& metadata) {
  const std::wstring program = ProgramFilePath();
  LogInfo(L"Path of the stub executable = [%s]\n", program.c_str());
  if (Base::VerifyFileSignature(program.c_str()) != 0) {
    GenericStub::LogErrorCode(GenericStub::ErrorCode::kSignatureInvalid);
    return false;
  }
  metadata = DecryptMetadata(ReadEmbeddedBlock(program));
  return true;
}

int RunApplication(const StartupSwitches& switches, GenericStub::Workflow& /*workflow*/) {
  LogInfo(L"Begin to call RetrieveMetadata.\n");
  std::wstring metadata;
  if (!RetrieveMetadata(metadata)) return -1;
  if (metadata.empty()) {
    GenericStub::LogErrorCode(GenericStub::ErrorCode::kMetadataEmpty);
    return -1;
  }
  // The window and the workflow run come here; until then a run ends once it
  // holds a trusted document.
  LogInfo(L"Begin to run main web install logic.\n");
  if (switches.showMetadata) LogError(L"Embedded metadata = [%s].\n", metadata.c_str());
  return 0;
}

}  // namespace Startup
