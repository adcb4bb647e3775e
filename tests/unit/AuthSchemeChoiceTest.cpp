#include <gtest/gtest.h>

#include <string>

#include "proxy/AuthSchemeChoice.h"
#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {
namespace {

// Negotiate or NTLM get NTLM credentials (reported as 4), then Digest (2), then Basic (1).
TEST(AuthSchemeChoice, StrongestOfferedSchemeWins) {
  const struct {
    uint32_t offered, credential, reported;
  } cases[] = {
      {kAuthSchemeNegotiate, kAuthSchemeNtlm, 4},
      {kAuthSchemeNtlm, kAuthSchemeNtlm, 4},
      {kAuthSchemeNegotiate | kAuthSchemeBasic | kAuthSchemeDigest, kAuthSchemeNtlm, 4},
      {kAuthSchemeDigest | kAuthSchemeBasic, kAuthSchemeDigest, 2},
      {kAuthSchemeBasic, kAuthSchemeBasic, 1},
      {kAuthSchemeBasic | kAuthSchemePassport, kAuthSchemeBasic, 1},
      {kAuthSchemePassport, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.credential, ChooseCredentialScheme(c.offered)) << c.offered;
    EXPECT_EQ(c.reported, ChooseReportedScheme(c.offered)) << c.offered;
  }
}

// A domain naming the proxy host (ASCII letters in any case) is dropped.
TEST(DialogUserName, DomainIsKeptUnlessItNamesTheProxyHost) {
  EXPECT_EQ(L"alice", CredentialUserName(L"alice", L"proxy.corp", L"proxy.corp"));
  EXPECT_EQ(L"alice", CredentialUserName(L"alice", L"PROXY.Corp", L"proxy.corp"));
  EXPECT_EQ(L"alice", CredentialUserName(L"alice", L"", L"proxy"));
  EXPECT_EQ(L"CORP\\alice", CredentialUserName(L"alice", L"CORP", L"proxy.corp"));
  EXPECT_EQ(L"proxy.corp.example\\bob", CredentialUserName(L"bob", L"proxy.corp.example", L"proxy.corp"));
  EXPECT_EQ(L"\u00c4\\u", CredentialUserName(L"u", L"\u00c4", L"\u00e4"));
}

}  // namespace
}  // namespace ORVK::ProxyManager
