#pragma once

#include <string>

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Accepts the file "downloadedFilename" only when its Authenticode signature is
// valid and trusted and it was signed by the publisher "name": publishes
// "isSigned" = "1", otherwise fails with error code 9.
class ExecutableVerifierAction : public Action<ExecutableVerifierAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kExecutableVerifierAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

// Whether the certificate that signed the file at path, or a certificate of
// the chain from it to its root, has a subject name containing subject (as the
// platform's subject-string search matches). Other certificates that the
// signature merely carries do not count: anyone can put a certificate with any
// name into their signature. Writes a found or not-found INFO line when the
// file holds a signature.
bool FindCertificateBySubject(const std::wstring& path, const std::wstring& subject);

}  // namespace GenericStub
