#include "actions/ExtractPackage.h"

#include <windows.h>

#include "actions/ExtractionPaths.h"
#include "actions/FolderHardening.h"
#include "actions/RarExtraction.h"
#include "actions/VerifiedFiles.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {
using Base::LogError;
using Base::LogInfo;

namespace {

constexpr DWORD kPathBuffer = 260;

std::wstring ExpandedRoot() {
  wchar_t root[kPathBuffer] = {};
  const DWORD length = ExpandEnvironmentStringsW(L"%SystemDrive%\\Orvakel\\", root, kPathBuffer);
  return length == 0 || length > kPathBuffer ? std::wstring() : FullFilePath(root);
}

// The full path of folder, or empty when it cannot be had within the path
// buffer: GetFullPathNameW folds "." and ".." after "/" as well as after "\".
std::wstring FullFolderPath(const std::wstring& folder) {
  wchar_t full[kPathBuffer] = {};
  const DWORD length = GetFullPathNameW(folder.c_str(), kPathBuffer, full, nullptr);
  return length == 0 || length >= kPathBuffer ? std::wstring() : std::wstring(full, length);
}

[[noreturn]] void NoPrivateFolder(const std::wstring& archiveName, const wchar_t* reason) {
  LogInfo(L"ExtractPackage::[%s] can not be unpacked into a private folder: %s.\n", archiveName.c_str(), reason);
  LogAndRaiseWorkflowError(Catalog::ErrorCode::kExtractionFailed);
}

}  // namespace

std::wstring ExtractPackage(const std::wstring& archiveName) {
  const std::wstring root = ExpandedRoot();
  const std::wstring name = ExtractionFolderName(archiveName);
  if (root.empty()) NoPrivateFolder(archiveName, L"no root");
  if (name.find(L':') != std::wstring::npos) NoPrivateFolder(archiveName, L"a \":\" in the folder name");
  const std::wstring folder = FullFolderPath(root + name + L"\\");
  if (folder.empty()) NoPrivateFolder(archiveName, L"the path is too long");
  if (!LiesInsideRoot(folder, root)) NoPrivateFolder(archiveName, L"the folder is not inside the root");
  // The folder is made only for an archive that passed its checks (or that the
  // library cannot read at all, whose folder is still published): a refused
  // archive leaves nothing behind.
  bool prepared = false;
  const auto prepareFolder = [&] {
    if (!PrepareRoot(root)) NoPrivateFolder(archiveName, L"the root can not be trusted");
    if (!CreatePrivateFolder(root, folder)) NoPrivateFolder(archiveName, L"the folder can not be made private");
    if (!HardenFolder(folder)) NoPrivateFolder(archiveName, L"the folder can not be hardened");
    prepared = true;
  };

  // The bytes that the verifier checked, through the handle it kept; without
  // a verifier, one handle of our own for the checks and the unpacking alike.
  Base::UniqueHandle own;
  HANDLE file = FindVerifiedFile(archiveName);
  if (file == nullptr) {
    own = OpenFileForUse(archiveName);
    file = own.get();
  }
  if (file == nullptr || file == INVALID_HANDLE_VALUE) {
    LogInfo(L"ExtractPackage::[%s] can not be opened, error [%lu].\n", archiveName.c_str(), GetLastError());
    prepareFolder();
    return folder;
  }

  const RarExtractionResult result =
      ExtractRarArchive(file, archiveName, folder, CertificateTableOf(file), prepareFolder);
  if (!result.refused.empty()) {
    LogError(L"ExtractPackage::[%s] of [%s] is refused: %s.\n", result.refused.c_str(), archiveName.c_str(),
             result.reason.c_str());
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kExtractionFailed);
  }
  if (result.fatal) {
    LogInfo(L"ExtractPackage::Extraction of [%s] stopped, UnRAR result [%d].\n", archiveName.c_str(), result.result);
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kExtractionFailed);
  }
  if (result.result != 0) {
    LogInfo(L"ExtractPackage::Extraction of [%s] ended with UnRAR result [%d].\n", archiveName.c_str(),
            result.result);
  }
  if (!prepared) prepareFolder();
  return folder;
}

}  // namespace GenericStub
