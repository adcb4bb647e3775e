#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "download/DownloadProgress.h"

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

// A body without a length tells the bytes received instead.
TEST(Progress, MessageContentHasTwoDecimalsOrTheBytesReceived) {
  EXPECT_EQ(ProgressContent(100.0), L"{\"progress\":\"100.00\"}");
  EXPECT_EQ(ProgressContent(42.567), L"{\"progress\":\"42.57\"}");
  EXPECT_EQ(ReceivedContent(kFiveGiB), L"{\"received\":\"5368709120\"}");
}

TEST(ReadSize, ABlockOrAllThatIsReadyButNotBeyondTheBody) {
  EXPECT_EQ(ReadSize(8192, 0, std::nullopt), kReadBlockBytes);
  EXPECT_EQ(ReadSize(8192, 0, kFiveGiB), kReadBlockBytes);
  EXPECT_EQ(ReadSize(1u << 20, 0, kFiveGiB), 1u << 20);  // more is ready than a block
  EXPECT_EQ(ReadSize(100, kFiveGiB - 1000, kFiveGiB), 1000u);
  EXPECT_EQ(ReadSize(100, 0, 10), 100u);  // a server that sends more than it announced: read what is there
}

}  // namespace
}  // namespace GenericStub
