// Signing download URLs with an expiring token over their path. The expected
// tokens were computed apart from this code with Python's hashlib (see
// UrlTokenTest.cpp), for the key that "a3f1c0de7b" hides: 74 3e 18 db 6f.

#include <gtest/gtest.h>

#include <string>

#include "download/SignDownloadUrl.h"
#include "TestClock.h"

using namespace GenericStub;

namespace {

constexpr std::int64_t kNow = 1700000000;
const std::string kSignedValue = "1702592000_fb201ba5ac15d9906ec91af4a3c0358c";

class SignDownloadUrlTest : public ::testing::Test {
 protected:
  TestClock clock_{kNow};
  ScopedClock installed_{clock_};
};

TEST(DescrambleAuthParam, RotatesEachByteRightByThreeBits) {
  EXPECT_EQ(DescrambleAuthParam(L"0108"), std::wstring({wchar_t(0x20), wchar_t(0x01)}));
  EXPECT_EQ(DescrambleAuthParam(L"a3f1c0de7b"),
            std::wstring({wchar_t(0x74), wchar_t(0x3e), wchar_t(0x18), wchar_t(0xdb), wchar_t(0x6f)}));
  EXPECT_EQ(DescrambleAuthParam(L"A3F1C0DE7B"), DescrambleAuthParam(L"a3f1c0de7b"));
}

TEST(DescrambleAuthParam, IgnoresATrailingOddDigit) {
  EXPECT_EQ(DescrambleAuthParam(L"a3f1c0de7b9"), DescrambleAuthParam(L"a3f1c0de7b"));
  EXPECT_EQ(DescrambleAuthParam(L"7"), L"");
}

TEST(DescrambleAuthParam, ReadsAPairOnlyAsFarAsItHasHexDigits) {
  // "3z" reads as 3, "zz" as 0.
  EXPECT_EQ(DescrambleAuthParam(L"3zzz"), std::wstring({wchar_t(0x60), wchar_t(0x00)}));
}

TEST(DescrambleAuthParam, KeepsAtMost255Bytes) {
  const std::wstring longValue(600, L'f');
  const std::wstring key = DescrambleAuthParam(longValue);
  EXPECT_EQ(key.size(), 255u);
  EXPECT_EQ(key, std::wstring(255, wchar_t(0xff)));
}

TEST_F(SignDownloadUrlTest, AUrlWithoutAuthparamComesBackByteForByte) {
  const std::string url = "https://dl.example.test/pkg/setup%20x_001_003.exe?a=1&b=%C3%A9\xE9";
  EXPECT_EQ(SignDownloadUrl(url), url);
  const std::string otherCase = "https://dl.example.test/f.exe?AuthParam=a3f1c0de7b";
  EXPECT_EQ(SignDownloadUrl(otherCase), otherCase);
}

TEST_F(SignDownloadUrlTest, AuthparamLastEndsTheUrlWithTheTokenText) {
  EXPECT_EQ(SignDownloadUrl("https://dl.example.test/pkg/setup_001_003.exe?x=1&authparam=a3f1c0de7b"),
            "https://dl.example.test/pkg/setup_001_003.exe?x=1&authparam=" + kSignedValue);
}

TEST_F(SignDownloadUrlTest, AuthparamFirstKeepsTheParametersAfterIt) {
  EXPECT_EQ(SignDownloadUrl("https://dl.example.test/pkg/setup_001_003.exe?authparam=a3f1c0de7b&lang=en%2DUS"),
            "https://dl.example.test/pkg/setup_001_003.exe?authparam=" + kSignedValue + "&lang=en%2DUS");
}

TEST_F(SignDownloadUrlTest, AuthparamInTheMiddleChangesNothingElse) {
  const std::string before = "https://dl.example.test:8443/pkg/setup_001_003.exe?a=%20b&authparam=";
  const std::string after = "&c=%E4%BD%A0&d=";
  EXPECT_EQ(SignDownloadUrl(before + "a3f1c0de7b" + after), before + kSignedValue + after);
}

TEST_F(SignDownloadUrlTest, TheTokenCoversThePathOnly) {
  EXPECT_EQ(SignDownloadUrl("https://a.example.test/pkg/setup_001_003.exe?authparam=a3f1c0de7b"),
            "https://a.example.test/pkg/setup_001_003.exe?authparam=" + kSignedValue);
  EXPECT_EQ(SignDownloadUrl("http://b.example.test/pkg/setup_001_003.exe?other=9&authparam=a3f1c0de7b&z=1"),
            "http://b.example.test/pkg/setup_001_003.exe?other=9&authparam=" + kSignedValue + "&z=1");
}

TEST_F(SignDownloadUrlTest, AnOddLengthValueIgnoresItsLastDigit) {
  EXPECT_EQ(SignDownloadUrl("https://dl.example.test/pkg/setup_001_003.exe?authparam=a3f1c0de7b5"),
            "https://dl.example.test/pkg/setup_001_003.exe?authparam=" + kSignedValue);
}

TEST_F(SignDownloadUrlTest, TheSameSecondGivesTheSameTokenAndTheNextSecondAnother) {
  const std::string url = "https://dl.example.test/pkg/setup_001_003.exe?authparam=a3f1c0de7b";
  EXPECT_EQ(SignDownloadUrl(url), SignDownloadUrl(url));
  clock_.advance(1);
  EXPECT_EQ(SignDownloadUrl(url),
            "https://dl.example.test/pkg/setup_001_003.exe?authparam=1702592001_29c82f68ed2cbaf05c2f1f41e6aa41c3");
}

TEST_F(SignDownloadUrlTest, AValueBeyond510DigitsIsCutTo255KeyBytes) {
  const std::string base = "https://dl.example.test/f.exe?authparam=";
  const std::string cut = SignDownloadUrl(base + std::string(510, '9'));
  const std::string longer = SignDownloadUrl(base + std::string(700, '9'));
  ASSERT_NE(cut, base + std::string(510, '9'));
  EXPECT_EQ(longer, cut);
}

TEST_F(SignDownloadUrlTest, AUrlWithALongQueryIsSigned) {
  const std::string query = "?x=" + std::string(3000, 'q') + "&authparam=";
  EXPECT_EQ(SignDownloadUrl("https://dl.example.test/pkg/setup_001_003.exe" + query + "a3f1c0de7b&z=1"),
            "https://dl.example.test/pkg/setup_001_003.exe" + query + kSignedValue + "&z=1");
}

TEST_F(SignDownloadUrlTest, AUrlWhoseTokenCannotBeComputedLosesTheValueThatHidesTheKey) {
  // Empty value: empty key.
  const std::string empty = "https://dl.example.test/f.exe?authparam=&x=1";
  EXPECT_EQ(SignDownloadUrl(empty), empty);
  // Not a URL that can be cracked: no path.
  EXPECT_EQ(SignDownloadUrl("setup.exe?authparam=a3f1c0de7b&x=1"), "setup.exe?authparam=&x=1");
}

}  // namespace
