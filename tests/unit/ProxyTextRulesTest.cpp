// The proxy manager's small text rules: scheme choice, dialog user names,
// environment switches, log line layout and UTF-8.

#include <gtest/gtest.h>

#include <string>

#include "base/Utf8Text.h"
#include "proxy/AuthSchemeChoice.h"
#include "proxy/EnvironmentFlag.h"
#include "proxy/PmLogLine.h"
#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {

using Base::Utf8ToWide;
using Base::Utf8ToWideLenient;
using Base::WideToUtf8;
using Base::WideToUtf8Lenient;

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

TEST(EnvironmentSwitch, TrueOrFalseInAnyCaseAndAnythingElseGivesTheDefault) {
  for (const wchar_t* value : {L"TRUE", L"true", L"True", L"tRuE"}) {
    EXPECT_TRUE(ParseEnvironmentFlag(value, false)) << value;
  }
  for (const wchar_t* value : {L"FALSE", L"false", L"False", L"fAlSe"}) {
    EXPECT_FALSE(ParseEnvironmentFlag(value, true)) << value;
  }
  for (const wchar_t* value : {L"", L"0", L"1", L"yes", L"no", L" true", L"true ", L"TRUE1", L"on"}) {
    EXPECT_TRUE(ParseEnvironmentFlag(value, true)) << value;
    EXPECT_FALSE(ParseEnvironmentFlag(value, false)) << value;
  }
}

// ---- Debug log lines ----

TEST(DebugLogLine, PrefixTagMessageAndLineFeedAndUnknownLevelsAreInfo) {
  EXPECT_EQ(L"Orvakel   OrvkProxyManager   [DEBUG]   hello\n", PmLogLine(PM_LOG_DEBUG, std::wstring_view(L"hello")));
  EXPECT_EQ("Orvakel   OrvkProxyManager   [ERROR]   PMStatus:4\n", PmLogLine(PM_LOG_ERROR, std::string_view("PMStatus:4")));
  EXPECT_STREQ(L"[INFO]", PmLogTag(5));
  EXPECT_STREQ(L"[INFO]", PmLogTag(-1));
}

// ---- UTF-8 ----

TEST(Utf8Conversion, RoundTripsAllPlanesAndRefusesMalformedUtf8) {
  const std::wstring wide = L"a\u00e9\u4e2d\U0001F600z";
  std::string narrow;
  ASSERT_TRUE(WideToUtf8(wide, narrow));
  EXPECT_EQ("a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z", narrow);
  std::wstring back;
  ASSERT_TRUE(Utf8ToWide(narrow, back));
  EXPECT_EQ(wide, back);
  std::wstring out = L"unchanged";
  for (const char* bad : {"\xff", "abc\xe9", "\xc3", "\xe4\xb8", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                          "\xf4\x90\x80\x80", "\x80", "\xc3\x28"}) {
    EXPECT_FALSE(Utf8ToWide(bad, out)) << bad;
  }
  EXPECT_EQ(L"unchanged", out);
}

TEST(Utf8Conversion, LenientFormsReplaceOnlyTheBadUnits) {
  std::string out;
  EXPECT_FALSE(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)), out));
  EXPECT_FALSE(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00)) + L"a", out));
  EXPECT_EQ("a\xef\xbf\xbd" "b", WideToUtf8Lenient(L"a" + std::wstring(1, static_cast<wchar_t>(0xDBFF)) + L"b"));
  EXPECT_EQ(L"a\ufffdb", Utf8ToWideLenient("a\xff" "b"));
  EXPECT_EQ(L"\ufffd(", Utf8ToWideLenient("\xc3("));
}

}  // namespace
}  // namespace ORVK::ProxyManager
