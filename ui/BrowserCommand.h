#pragma once
// The executable of a registered "open" command line.

#include <string>
#include <string_view>

namespace Ui {

// A command starting with a double quote names the executable between the
// quotes. Otherwise the executable ends at the first space after the last
// backslash (spaces in folder names stay), or is the whole command when
// there is no such space.
std::wstring BrowserExecutableFromCommand(std::wstring_view command);

}  // namespace Ui
