#include "base/SignerChainVerdict.h"

#include <windows.h>

#include <wincrypt.h>

#include <gtest/gtest.h>

using namespace Base;

namespace {

SignerChainFacts Chain(DWORD chainErrorStatus) {
  SignerChainFacts facts;
  facts.policyCallSucceeded = true;
  facts.chainErrorStatus = chainErrorStatus;
  return facts;
}

TEST(SignerChainVerdict, AFailedPolicyCallIsNeverTrustedAndThePolicysOwnVerdictComesFirst) {
  SignerChainFacts facts;  // the call failed; its status and the chain say nothing
  EXPECT_EQ(SignerChainVerdict(facts), TRUST_E_SYSTEM_ERROR);
  facts = Chain(CERT_TRUST_IS_UNTRUSTED_ROOT);
  facts.policyError = static_cast<DWORD>(CERT_E_EXPIRED);
  EXPECT_EQ(SignerChainVerdict(facts), CERT_E_EXPIRED);
}

// What Windows accepts without revocation checking is accepted (0).
TEST(SignerChainVerdict, ChainErrorsThatWindowsRejectsAreRejectedAndTheOthersAccepted) {
  const struct {
    DWORD bits;
    LONG verdict;
  } cases[] = {
      {CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
      {CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
      {CERT_TRUST_IS_NOT_TIME_VALID, CERT_E_EXPIRED},
      {CERT_TRUST_IS_NOT_VALID_FOR_USAGE, CERT_E_WRONG_USAGE},
      {CERT_TRUST_IS_REVOKED, CRYPT_E_REVOKED},
      {CERT_TRUST_IS_NOT_SIGNATURE_VALID, TRUST_E_CERT_SIGNATURE},
      {CERT_TRUST_IS_EXPLICIT_DISTRUST, TRUST_E_EXPLICIT_DISTRUST},
      {CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_REVOCATION_STATUS_UNKNOWN, CERT_E_UNTRUSTEDROOT},
      {CERT_TRUST_NO_ERROR, 0},
      {CERT_TRUST_REVOCATION_STATUS_UNKNOWN, 0},
      {CERT_TRUST_IS_OFFLINE_REVOCATION, 0},
      {CERT_TRUST_IS_NOT_TIME_NESTED, 0},
      {CERT_TRUST_HAS_NOT_SUPPORTED_NAME_CONSTRAINT, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(SignerChainVerdict(Chain(c.bits)), c.verdict) << std::hex << c.bits;
}

}  // namespace
