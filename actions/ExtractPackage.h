#pragma once
// Unpacking of a package archive into its own folder under
// "%SystemDrive%\Orvakel\".

#include <string>

namespace GenericStub {

// Unpacks archiveName (relative to the current folder, or a path) into
// "%SystemDrive%\Orvakel\<folder name>\" (see ExtractionFolderName) and returns
// that folder canonicalised, ending in "\"; empty when it cannot be
// canonicalised. The folder is created private to the user and hardened before
// anything is unpacked into it. Nothing is unpacked when the canonical folder
// does not lie inside the root (a name that climbs out by ".." parts) or cannot
// be created; the canonical path is returned all the same. An archive that is
// missing or damaged leaves whatever was unpacked, without error.
//
// A fatal UnRAR error (a failed write, exhausted memory) writes its ERROR line
// and raises error code 12.
std::wstring ExtractPackage(const std::wstring& archiveName);

}  // namespace GenericStub
