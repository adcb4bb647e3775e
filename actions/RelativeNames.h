#pragma once
// Names that must stay inside a folder: the entries of a package archive, the
// candidates of "launchOrder", a program started from a launch folder. Pure
// text rules, no file system.

#include <string>

namespace GenericStub {

// Why name cannot be used as a path below a folder, or an empty text when it
// can. Refused: an empty name; a name that begins with a separator ("\" or "/");
// any ":" (a drive, or an NTFS stream); a component that Windows would trim or
// read as a parent (ending in "." or a blank, so also "." and ".."); a device
// name as a component (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, also
// with an extension); control characters and < > " | ? *.
std::wstring RelativeNameRefusal(const std::wstring& name);

// folder (ending in "\") followed by name with every "/" turned into "\".
std::wstring PathBelow(const std::wstring& folder, const std::wstring& name);

}  // namespace GenericStub
