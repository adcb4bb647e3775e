#pragma once
// The patch entries of the replace-file action: which files to fetch from
// where into which folder, for which installer version. No windows.h.

#include <json/json.h>

#include <optional>
#include <string>
#include <vector>

namespace GenericStub {

struct Replacement {
  std::wstring sourceUrl;           // a file's URL is this followed by its name
  std::wstring path;                // folder below the extraction folder
  std::vector<std::wstring> files;  // non-empty names
};

// "additionalArguments" as a JSON array; nothing (logged) when the text is not
// JSON or not an array.
std::optional<Json::Value> ParseReplacementEntries(const std::wstring& text);

// The entries whose "version" text equals installerVersion exactly, in order.
// An element that is not an object, or that has an empty member, is logged and
// skipped; a member that is missing or not a string raises Json::LogicError.
std::vector<Replacement> SelectReplacements(const Json::Value& entries, const std::wstring& installerVersion);

}  // namespace GenericStub
