#pragma once
// Authenticode check of a file, as Windows decides it: no user interface, no
// revocation check. Used for the stub's own file and for downloaded executables.

#include <windows.h>

#include <wincrypt.h>

#include <functional>

namespace Base {

// Called, only for a trusted signature, with the chain that the trust check
// built and verified for the signature's signer, while that chain is alive.
// Its answer false makes the result TRUST_E_SUBJECT_NOT_TRUSTED, without a line.
using VerifiedSignerChainCheck = std::function<bool(PCCERT_CHAIN_CONTEXT)>;

// 0 when the open file carries a valid signature whose chain ends in a trusted
// root; otherwise the trust failure (0x800B0100 for an unsigned file), and 2
// when file is not a valid handle. A failure writes one INFO line with the
// result and the thread's last error; path names the file there only. The file
// is read through the handle (read access; the caller keeps it open, and denies
// write and delete sharing, so that the bytes checked are the bytes it goes on
// to use).
LONG VerifyFileSignature(HANDLE file, const wchar_t* path, const VerifiedSignerChainCheck& check = nullptr);

}  // namespace Base
