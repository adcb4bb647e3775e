#pragma once
// Text rules of the package extraction: where a package is unpacked. Pure
// functions, no file system.

#include <string>

namespace GenericStub {

// The folder name that a package archive is unpacked into: the archive name
// (with any folder part it has) without a final "_Setup.exe" (any letter case),
// else without its last extension, else unchanged.
std::wstring ExtractionFolderName(const std::wstring& archiveName);

// Whether canonicalPath lies strictly inside root: it begins with root
// (compared case-sensitively) and names something below it. The root itself,
// and a path that climbed out of it by ".." parts, do not.
bool LiesInsideRoot(const std::wstring& canonicalPath, const std::wstring& root);

}  // namespace GenericStub
