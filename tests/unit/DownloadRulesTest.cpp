#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "download/DownloadProgress.h"
#include "download/PartialFileName.h"
#include "download/ProxyAuthChoice.h"
#include "proxy/ProxyTypes.h"

namespace GenericStub {
namespace {

constexpr std::uint64_t kFiveGiB = 5ULL << 30;

TEST(ContentLength, DigitsOnlyAndUpTo64Bits) {
  EXPECT_EQ(ParseContentLength(L"0"), 0u);
  EXPECT_EQ(ParseContentLength(L"5368709120"), kFiveGiB);
  EXPECT_EQ(ParseContentLength(L"18446744073709551615"), UINT64_MAX);
  for (const wchar_t* bad : {L"", L"-1", L"+1", L" 1", L"1 ", L"1e3", L"0x10", L"18446744073709551616"}) {
    EXPECT_EQ(ParseContentLength(bad), std::nullopt) << bad;
  }
}

TEST(Progress, PercentOfAKnownLengthOnly) {
  struct {
    std::uint64_t received;
    std::optional<std::uint64_t> length;
    std::optional<double> percent;
  } const cases[] = {
      {0, std::nullopt, std::nullopt},          // no Content-Length: nothing to tell, no division by zero
      {0, 0, 100.0},                            // an empty body is complete
      {1, 3, 100.0 / 3},
      {kFiveGiB / 2, kFiveGiB, 50.0},           // beyond 32 bits
      {11, 10, 100.0},                          // never more than 100
  };
  for (const auto& c : cases) {
    const std::optional<double> percent = ProgressPercent(c.received, c.length);
    ASSERT_EQ(percent.has_value(), c.percent.has_value()) << c.received;
    if (percent) {
      EXPECT_DOUBLE_EQ(*percent, *c.percent) << c.received;
    }
  }
}

TEST(Progress, MessageContentHasTwoDecimals) {
  EXPECT_EQ(ProgressContent(100.0), L"{\"progress\":\"100.00\"}");
  EXPECT_EQ(ProgressContent(42.567), L"{\"progress\":\"42.57\"}");
}

TEST(Progress, ABodyWithoutLengthTellsTheBytesReceived) {
  EXPECT_EQ(ReceivedContent(kFiveGiB), L"{\"received\":\"5368709120\"}");
}

TEST(PartialFile, NamedAfterItsTargetAndRecognisedOnlyInItsExactForm) {
  EXPECT_EQ(PartialFileName(L"sub\\Setup.exe", 0x1234abcd00000002ULL), L"sub\\Setup.exe.~1234abcd00000002.partial");
  EXPECT_EQ(PartialFilePattern(L"Setup.exe"), L"Setup.exe.~*.partial");
  for (const wchar_t* ours : {L"Setup.exe.~1234abcd00000002.partial", L"SETUP.EXE.~1234ABCD00000002.PARTIAL"}) {
    EXPECT_TRUE(IsPartialFileOf(ours, L"Setup.exe")) << ours;
  }
  // What the pattern also finds, but a user or another program may have named so.
  for (const wchar_t* theirs : {L"Setup.exe.~notes.partial", L"Setup.exe.~1234abcd0000002.partial",
                                L"Setup.exe.~1234abcd000000020.partial", L"Setup.exe.~1234abcd0000000g.partial",
                                L"Setup.exe.x.~1234abcd00000002.partial"}) {
    EXPECT_FALSE(IsPartialFileOf(theirs, L"Setup.exe")) << theirs;
  }
  EXPECT_EQ(FolderPartOf(L"C:\\Users\\me\\Downloads\\Setup.exe"), L"C:\\Users\\me\\Downloads\\");
  EXPECT_EQ(FolderPartOf(L"a/b.bin"), L"a/");
  EXPECT_EQ(FolderPartOf(L"Setup.exe"), L"");
}

TEST(ProxyAuth, BasicFirstThenNegotiateNtlmPassportThenDigest) {
  using namespace ORVK::ProxyManager;
  struct {
    std::uint32_t offered, chosen;
  } const cases[] = {
      {kAuthSchemeBasic | kAuthSchemeNtlm, kAuthSchemeBasic},
      {kAuthSchemeNtlm | kAuthSchemeNegotiate, kAuthSchemeNegotiate},
      {kAuthSchemeNtlm | kAuthSchemeDigest, kAuthSchemeNtlm},
      {kAuthSchemePassport | kAuthSchemeDigest, kAuthSchemePassport},
      {kAuthSchemeDigest, kAuthSchemeDigest},
      {0, 0},
      {0x20, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseProxyAuthScheme(c.offered), c.chosen) << c.offered;
}

}  // namespace
}  // namespace GenericStub
