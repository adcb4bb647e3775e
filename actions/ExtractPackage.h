#pragma once
// Unpacking of a package archive into its own private folder under
// "%SystemDrive%\Orvakel\".

#include <string>

namespace GenericStub {

// Unpacks archiveName (relative to the current folder, or a path) into
// "%SystemDrive%\Orvakel\<folder name>\" (see ExtractionFolderName) and returns
// that folder as a full path (GetFullPathNameW), ending in "\".
//
// The root is created with a protected access list when missing and must be no
// link and belong to the user, Administrators or SYSTEM; the package folder is
// created private (an existing one that is not is moved aside) and hardened
// before anything is unpacked into it. The archive is read through the handle
// that the executable verifier kept for it, or through a handle opened here,
// and checked whole before anything is written (ExtractRarArchive). A missing
// or damaged archive leaves whatever was unpacked, without error.
//
// Raises kExtractionFailed, after its ERROR line, when the package cannot be
// unpacked into a private folder inside the root (the name has a ":", climbs
// out of the root or names the root, the path is too long, a folder cannot be
// created, moved aside or hardened), when the archive or one of its entries is
// refused (an ERROR line names it), and when UnRAR gives up (a failed write,
// exhausted memory, a password).
std::wstring ExtractPackage(const std::wstring& archiveName);

}  // namespace GenericStub
