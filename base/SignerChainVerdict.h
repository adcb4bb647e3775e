#pragma once
// The verdict on a signer's certificate chain that backs up WinVerifyTrust:
// Wine's accepts SHA-256 signatures whose chain is not trusted, where Windows
// rejects them. It only adds what Windows itself rejects.

#include <windows.h>

namespace Base {

// What the Authenticode chain policy call gave: whether the call itself
// succeeded, its status when it did, and the chain's CERT_TRUST_* error bits.
struct SignerChainFacts {
  bool policyCallSucceeded = false;
  DWORD policyError = 0;
  DWORD chainErrorStatus = 0;
};

// 0 when the chain is acceptable, otherwise the trust result Windows gives.
// A failed policy call is TRUST_E_SYSTEM_ERROR: a check that could not be made
// never reads as trusted. Of the chain's error bits these reject:
//   not time valid          CERT_E_EXPIRED
//   revoked                 CRYPT_E_REVOKED
//   signature not valid     TRUST_E_CERT_SIGNATURE
//   not valid for usage     CERT_E_WRONG_USAGE
//   untrusted root          CERT_E_UNTRUSTEDROOT
//   explicitly distrusted   TRUST_E_EXPLICIT_DISTRUST
//   cyclic, partial chain   CERT_E_CHAINING
// The others are accepted as Windows accepts them when revocation is not
// checked: unknown or offline revocation status, time nesting, name
// constraints, policy and extension details.
LONG SignerChainVerdict(const SignerChainFacts& facts);

}  // namespace Base
