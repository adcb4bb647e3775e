#pragma once
// The patch entries of the replace-file action: which files to fetch from
// where into which folder, for which installer version. No windows.h.

#include <json/json.h>

#include <optional>
#include <string>
#include <vector>

#include "catalog/Sha256Pin.h"

namespace GenericStub {

struct Replacement {
  std::wstring sourceUrl;           // a file's URL is this followed by its name
  std::wstring path;                // folder below the extraction folder
  std::vector<std::wstring> files;  // non-empty names
  // Empty, or the pinned SHA-256 of each file, in the order of files.
  std::vector<Catalog::Sha256Digest> pins;
};

// "additionalArguments" as a JSON array; nothing (logged) when the text is not
// JSON or not an array.
std::optional<Json::Value> ParseReplacementEntries(const std::wstring& text);

// One element of the array, to be acted on before the next is read. Nothing
// (logged) for an element that is not an object, that has an empty member,
// whose "path" or a file name would lead out of the installer's folder, or
// whose "sha256" (optional; split like "files") does not name one hash per file;
// nothing (silently) when its "version" text is not installerVersion exactly.
// A member that is missing or not a string raises Json::LogicError.
std::optional<Replacement> ReadReplacement(const Json::Value& element, const std::wstring& installerVersion);

// A folder below the installer's folder: relative, without a drive or ":",
// without a wildcard, quote, angle bracket or control character, and without a
// part made of dots and blanks only other than "." (Windows drops trailing
// dots and blanks, so ".. " is "..").
bool IsFolderInside(const std::wstring& path);

// A file name without any folder: none of the above, and no separator.
bool IsPlainFileName(const std::wstring& name);

}  // namespace GenericStub
