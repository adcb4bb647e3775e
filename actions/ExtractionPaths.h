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

namespace GenericStub {

// Who owns a folder, as far as the extraction cares.
enum class FolderOwner { kUser, kAdministrators, kSystem, kOther };

// What the file system says about an existing folder.
struct FolderFacts {
  bool reparsePoint = false;  // a symbolic link, junction or other reparse point: leads elsewhere
  FolderOwner owner = FolderOwner::kOther;
  bool othersMayChange = true;  // an entry lets someone besides the user, Administrators and SYSTEM write,
                                // create, delete or change its permissions (a missing list counts as such)
};

// Whether the root that holds the package folders may be used: no reparse
// point, owned by the user, Administrators or SYSTEM. Its access list is not
// asked about: other users may create their own folders in it.
bool MayUseRoot(const FolderFacts& facts);

// Whether an existing package folder may be unpacked into as it is: no reparse
// point, owned by the user, Administrators or SYSTEM, and private (nobody else
// may change anything in it, by an entry of its own or an inherited one).
// Otherwise it is moved aside (a link is removed).
bool MayReusePackageFolder(const FolderFacts& facts);

}  // namespace GenericStub
