#include "actions/ReplaceFileAction.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>

#include "actions/FetchFile.h"
#include "actions/GetFileVersion.h"
#include "actions/ReplacementEntries.h"
#include "base/ExecutionLog.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

using Base::LogError;
using Base::LogInfo;

namespace {

bool EndsWithSeparator(const std::wstring& path) {
  return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

// The folder of the package may lack the entry's folder: it is made, as a move
// into it would make it.
void MakeFolder(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
  const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS && result != ERROR_FILE_EXISTS) {
    LogInfo(L"Can not create the folder [%s], error [%d].\n", folder.c_str(), result);
  }
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

  // Entry by entry: each is read, fetched and in place before the next is read.
  for (const Json::Value& element : *entries) {
    const std::optional<Replacement> entry = ReadReplacement(element, installerVersion);
    if (!entry) continue;
    std::wstring destination = extractionPath + entry->path;
    MakeFolder(destination);
    if (!EndsWithSeparator(destination)) destination += L'\\';
    // Straight into the installer's folder: the download's partial file lies
    // beside the package's copy and replaces it when complete. The program's
    // own folder, where the user keeps files of any name, is never written.
    for (std::size_t i = 0; i < entry->files.size(); ++i) {
      const std::wstring& name = entry->files[i];
      const std::optional<Catalog::Sha256Digest> pin =
          entry->pins.empty() ? std::nullopt : std::optional<Catalog::Sha256Digest>(entry->pins[i]);
      FetchFile(downloadManager_, entry->sourceUrl + name, destination + name, nullptr, pin);
    }
  }
}

}  // namespace GenericStub
