#include "actions/ReplaceFileAction.h"

#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <optional>
#include <string>
#include <vector>

#include "actions/FetchFile.h"
#include "actions/GetFileVersion.h"
#include "actions/ReplacementEntries.h"
#include "base/ExecutionLog.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

using Base::LogError;

namespace {

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) break;
    path.resize(path.size() * 2);
  }
  PathRemoveFileSpecW(path.data());
  return path.data();
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  std::vector<wchar_t> joined(folder.size() + name.size() + 2 + MAX_PATH);
  folder.copy(joined.data(), folder.size());
  if (!PathAppendW(joined.data(), name.c_str())) return folder + L"\\" + name;
  return joined.data();
}

// The move's result is not examined: a file that stays in the program's folder
// leaves the package's own copy in place.
void MoveIntoFolder(const std::wstring& source, const std::wstring& folder) {
  const std::wstring from = source + L'\0';
  const std::wstring to = folder + L'\0';
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_MOVE;
  operation.pFrom = from.c_str();
  operation.pTo = to.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&operation);
}

}  // namespace

void ReplaceFileAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring extractionPath = getMandatoryValue(store, Catalog::kExtractionPath);
  const std::wstring executableName = getMandatoryValue(store, Catalog::kExecutableName);
  const std::wstring installerVersion = GetFileVersion(extractionPath + executableName);
  if (installerVersion.empty()) {
    LogError(L"file version is not available.");
    return;
  }
  const std::wstring additional = getValue(store, Catalog::kAdditionalArguments, L"");
  if (additional.empty()) return;
  const std::optional<Json::Value> entries = ParseReplacementEntries(additional);
  if (!entries) return;

  const std::wstring programFolder = ProgramFolder();
  for (const Replacement& entry : SelectReplacements(*entries, installerVersion)) {
    const std::wstring destination = extractionPath + entry.path;
    for (const std::wstring& name : entry.files) {
      FetchFile(downloadManager_, entry.sourceUrl + name, name, nullptr);
      MoveIntoFolder(JoinPath(programFolder, name), destination);
    }
  }
}

}  // namespace GenericStub
