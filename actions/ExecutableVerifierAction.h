#pragma once

#include <windows.h>

#include <wincrypt.h>

#include <string>

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Accepts the file "downloadedFilename" only when its Authenticode signature is
// valid and trusted, it was signed by the publisher "name", and its certificate
// table holds nothing but that signature: publishes "isSigned" = "1", otherwise
// fails with kExecutableRejected. The file is opened once, checked through that
// handle and kept open for the rest of the run (VerifiedFiles), so that it
// cannot change between the check and its use.
class ExecutableVerifierAction : public Action<ExecutableVerifierAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kExecutableVerifierAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

// Whether a certificate of chain (the chain that the trust check verified for
// the signer: the signer's certificate up to its root) has a subject name
// containing subject, as the platform's subject-string search matches. Other
// certificates that the signature merely carries do not count: anyone can put
// a certificate with any name into their signature. Writes a found or
// not-found INFO line.
bool FindCertificateBySubject(PCCERT_CHAIN_CONTEXT chain, const std::wstring& subject);

}  // namespace GenericStub
