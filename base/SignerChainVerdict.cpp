#include "base/SignerChainVerdict.h"

#include <wincrypt.h>

namespace Base {

LONG SignerChainVerdict(const SignerChainFacts& facts) {
  if (!facts.policyCallSucceeded) return TRUST_E_SYSTEM_ERROR;
  if (facts.policyError != 0) return static_cast<LONG>(facts.policyError);

  struct Rejection {
    DWORD bits;
    HRESULT result;
  };
  static constexpr Rejection kRejections[] = {
      {CERT_TRUST_IS_REVOKED, CRYPT_E_REVOKED},
      {CERT_TRUST_IS_NOT_SIGNATURE_VALID, TRUST_E_CERT_SIGNATURE},
      {CERT_TRUST_IS_EXPLICIT_DISTRUST, TRUST_E_EXPLICIT_DISTRUST},
      {CERT_TRUST_IS_NOT_TIME_VALID, CERT_E_EXPIRED},
      {CERT_TRUST_IS_NOT_VALID_FOR_USAGE, CERT_E_WRONG_USAGE},
      {CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
      {CERT_TRUST_IS_CYCLIC | CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
  };
  for (const Rejection& rejection : kRejections) {
    if ((facts.chainErrorStatus & rejection.bits) != 0) return rejection.result;
  }
  return 0;
}

}  // namespace Base
