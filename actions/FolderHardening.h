#pragma once
// The extraction folder is made private to its user before anything is
// unpacked into it, so that no other user of the PC can plant or change a file
// that the installer later runs with this user's rights.

#include <string>

namespace GenericStub {

// Makes sure the root of the package folders (full path, ending in "\") can be
// trusted: creates it, when missing, with a protected access list (users may
// create their own folders in it, nothing more), and accepts an existing one
// only when it is no reparse point and is owned by the user, Administrators or
// SYSTEM (MayUseRoot). False, with an INFO line, otherwise.
bool PrepareRoot(const std::wstring& root);

// Creates folder (full path inside root, ending in "\") and each folder between
// root and it with a protected access list: full control for the current user,
// SYSTEM and Administrators, read and execute for Users, nothing inherited. The
// list is set at creation, so there is no moment in which a folder carries the
// rights of its parent. An existing folder is reused only when it is private
// (MayReusePackageFolder); otherwise it is moved aside, whatever it is (a link,
// someone else's folder), and made anew. False, with an INFO line, when that
// cannot be done.
bool CreatePrivateFolder(const std::wstring& root, const std::wstring& folder);

// Runs icacls from the system folder on folder: inheritance from the parent
// off, then the entries of Authenticated Users removed from the whole tree.
// False, with an INFO line, when a run cannot be started or fails.
bool HardenFolder(const std::wstring& folder);

}  // namespace GenericStub
