#pragma once
// The extraction folder is made private to its user before anything is
// unpacked into it, so that no other user of the PC can plant or change a file
// that the installer later runs with this user's rights.

#include <string>

namespace GenericStub {

// Creates folder (and the folders above it) and gives the folder itself a
// protected access list: full control for the current user, SYSTEM and
// Administrators, read and execute for Users, nothing inherited. The list is
// set at creation, so there is no moment in which the folder carries the
// rights of its parent. A folder that exists already is left as it is (see
// HardenFolder). False, with an INFO line, when the folder cannot be had.
bool CreatePrivateFolder(const std::wstring& folder);

// Runs icacls from the system folder on folder: inheritance from the parent
// off, then the entries of Authenticated Users removed from the whole tree.
// Best effort: a failure writes an INFO line and is otherwise ignored.
void HardenFolder(const std::wstring& folder);

}  // namespace GenericStub
