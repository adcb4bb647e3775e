#include "actions/ExtractPackage.h"

#include <windows.h>

#include <shlwapi.h>

#include "actions/ExtractionPaths.h"
#include "actions/FolderHardening.h"
#include "actions/RarExtraction.h"
#include "base/ExecutionLog.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {
using Base::LogInfo;

namespace {

constexpr DWORD kPathBuffer = 260;

std::wstring ExpandedRoot() {
  wchar_t root[kPathBuffer] = {};
  const DWORD length = ExpandEnvironmentStringsW(L"%SystemDrive%\\Orvakel\\", root, kPathBuffer);
  return length == 0 || length > kPathBuffer ? std::wstring() : std::wstring(root);
}

std::wstring Canonical(const std::wstring& path) {
  wchar_t canonical[kPathBuffer] = {};
  return PathCanonicalizeW(canonical, path.c_str()) ? std::wstring(canonical) : std::wstring();
}

}  // namespace

std::wstring ExtractPackage(const std::wstring& archiveName) {
  const std::wstring root = ExpandedRoot();
  const std::wstring canonical = Canonical(root + ExtractionFolderName(archiveName) + L"\\");
  if (canonical.empty() || !LiesInsideRoot(canonical, root)) return canonical;

  // The canonical folder is the one created, hardened and unpacked into, so
  // the folder that is hardened is the folder that is used.
  if (!CreatePrivateFolder(canonical)) return canonical;
  HardenFolder(canonical);

  const RarExtractionResult result = ExtractRarArchive(archiveName, canonical);
  if (result.fatal) {
    LogInfo(L"ExtractPackage::Extraction of [%s] stopped, UnRAR exit code [%d].\n", archiveName.c_str(),
            result.exitCode);
    LogAndRaiseWorkflowError(ErrorCode::kExtractionFailed);
  }
  if (result.exitCode != 0) {
    LogInfo(L"ExtractPackage::Extraction of [%s] ended with UnRAR exit code [%d].\n", archiveName.c_str(),
            result.exitCode);
  }
  return canonical;
}

}  // namespace GenericStub
