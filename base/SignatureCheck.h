#pragma once
// Authenticode check of a file, as Windows decides it: no user interface, no
// revocation check. Used for the stub's own file and for downloaded executables.

#include <windows.h>

namespace Base {

// 0 when the file carries a valid signature whose chain ends in a trusted root;
// otherwise the trust failure (0x800B0100 for an unsigned file), and 2 when no
// path is given. A failure writes one INFO line with the result and the thread's
// last error.
LONG VerifyFileSignature(const wchar_t* path);

}  // namespace Base
