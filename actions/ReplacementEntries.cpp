#include "actions/ReplacementEntries.h"

#include "actions/AdditionalArguments.h"
#include "base/ExecutionLog.h"
#include "base/SplitString.h"
#include "catalog/DocumentKeys.h"
#include "workflow/JsonText.h"

namespace GenericStub {

using Base::LogError;

namespace {

bool HasUnsafeCharacter(const std::wstring& text) {
  for (const wchar_t c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return text.find_first_of(L":*?\"<>|") != std::wstring::npos;
}

bool IsDotsAndBlanks(const std::wstring& part) {
  return part != L"." && part.find_first_not_of(L". ") == std::wstring::npos;
}

// The pins of "sha256", split as "files" is: one per file, or none at all.
bool ReadPins(const Json::Value& element, Replacement& entry) {
  if (!element.isMember(Catalog::kEntrySha256.text)) return true;
  const std::wstring text = StringValue(element[Catalog::kEntrySha256.text]);
  const std::vector<std::wstring> pins = Base::SplitString(text, Catalog::kEntryListSeparator.wide);
  if (pins.empty()) return true;
  if (pins.size() != entry.files.size()) {
    LogError(L"additionalArguments has an entry whose sha256 names [%u] hashes for [%u] files.\n",
             static_cast<unsigned>(pins.size()), static_cast<unsigned>(entry.files.size()));
    return false;
  }
  for (const std::wstring& pin : pins) {
    const std::optional<Catalog::Sha256Digest> digest = Catalog::ParseSha256(pin);
    if (!digest) {
      LogError(L"additionalArguments has an entry whose sha256 [%s] is not 64 hexadecimal digits.\n", pin.c_str());
      return false;
    }
    entry.pins.push_back(*digest);
  }
  return true;
}

}  // namespace

std::optional<Json::Value> ParseReplacementEntries(const std::wstring& text) {
  return ParseAdditionalArguments(text);
}

bool IsFolderInside(const std::wstring& path) {
  if (path.empty() || HasUnsafeCharacter(path) || path[0] == L'\\' || path[0] == L'/') return false;
  for (const std::wstring& part : Base::SplitString(path, L"\\/")) {
    if (IsDotsAndBlanks(part)) return false;
  }
  return true;
}

bool IsPlainFileName(const std::wstring& name) {
  return !name.empty() && !HasUnsafeCharacter(name) && name.find_first_of(L"\\/") == std::wstring::npos &&
         name != L"." && !IsDotsAndBlanks(name);
}

std::optional<Replacement> ReadReplacement(const Json::Value& element, const std::wstring& installerVersion) {
  if (!element.isObject()) {
    LogError(L"additionalArguments has invalid arguments.");
    return std::nullopt;
  }
  const std::wstring version = StringValue(element[Catalog::kEntryVersion.text]);
  Replacement entry;
  entry.sourceUrl = StringValue(element[Catalog::kEntrySourceUrl.text]);
  entry.path = StringValue(element[Catalog::kEntryPath.text]);
  const std::wstring files = StringValue(element[Catalog::kEntryFiles.text]);
  if (version.empty()) {
    LogError(L"additionalArguments has an entry where file version is not available.");
    return std::nullopt;
  }
  if (entry.sourceUrl.empty()) {
    LogError(L"additionalArguments has an entry where source is not available.");
    return std::nullopt;
  }
  if (entry.path.empty()) {
    LogError(L"additionalArguments has an entry where the file path of files to be replaced is not available.");
    return std::nullopt;
  }
  if (files.empty()) {
    LogError(L"additionalArguments has an entry where there are no files to be replaced.");
    return std::nullopt;
  }
  entry.files = Base::SplitString(files, Catalog::kEntryListSeparator.wide);
  if (!IsFolderInside(entry.path)) {
    LogError(L"additionalArguments has an entry whose path [%s] leads out of the installer's folder.\n",
             entry.path.c_str());
    return std::nullopt;
  }
  for (const std::wstring& name : entry.files) {
    if (!IsPlainFileName(name)) {
      LogError(L"additionalArguments has an entry whose file name [%s] leads out of the installer's folder.\n",
               name.c_str());
      return std::nullopt;
    }
  }
  if (!ReadPins(element, entry)) return std::nullopt;
  if (version != installerVersion) return std::nullopt;
  return entry;
}

}  // namespace GenericStub
