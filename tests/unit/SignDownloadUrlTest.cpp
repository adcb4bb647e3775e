// Signing download URLs with an expiring token over their path. The expected
// tokens were computed apart from this code with Python's hashlib (see
// UrlAuthTest.cpp), for the key that "a3f1c0de7b" hides: 74 3e 18 db 6f.

#include <gtest/gtest.h>

#include <string>

#include "download/Clock.h"
#include "download/SignDownloadUrl.h"

using namespace GenericStub;

namespace {

constexpr std::int64_t kNow = 1700000000;
const std::string kSignedValue = "1702592000_fb201ba5ac15d9906ec91af4a3c0358c";

// The download client's clock, standing still at kNow. That the token follows
// the clock is shown by the error window scenario, whose window host is given
// the second to sign at.
class SignDownloadUrlTest : public ::testing::Test, public Clock {
 protected:
  SignDownloadUrlTest() : previous_(InstallClock(this)) {}
  ~SignDownloadUrlTest() override { InstallClock(previous_); }
  std::int64_t nowSeconds() override { return kNow; }
  void sleep(std::uint32_t) override {}

  Clock* previous_;
};

// A pair of hex digits is read as far as it has digits ("3z" is 3, "zz" 0);
// the key keeps at most 255 bytes.
TEST(DescrambleAuthParam, ReadsPairsAsFarAsTheyHaveHexDigitsUpTo255Bytes) {
  EXPECT_EQ(DescrambleAuthParam(L"3zzz"), std::wstring({wchar_t(0x60), wchar_t(0x00)}));
  EXPECT_EQ(DescrambleAuthParam(std::wstring(600, L'f')), std::wstring(255, wchar_t(0xff)));
}

// The value first among others and with an odd last digit (ignored) is signed
// in the error window scenario.
TEST_F(SignDownloadUrlTest, TheAuthparamValueBecomesATokenOverThePathAndNothingElseChanges) {
  const std::string setup = "https://dl.example.test/pkg/setup_001_003.exe";
  const std::string longQuery = "?x=" + std::string(3000, 'q') + "&authparam=";
  const std::string middle = "https://dl.example.test:8443/pkg/setup_001_003.exe?a=%20b&authparam=";
  const struct {
    std::string url, expected;
  } cases[] = {
      {setup + "?x=1&authparam=a3f1c0de7b", setup + "?x=1&authparam=" + kSignedValue},
      {middle + "a3f1c0de7b&c=%E4%BD%A0&d=", middle + kSignedValue + "&c=%E4%BD%A0&d="},
      {setup + longQuery + "a3f1c0de7b&z=1", setup + longQuery + kSignedValue + "&z=1"},
      // The token covers the path only; hex digits in any case.
      {"http://b.example.test/pkg/setup_001_003.exe?authparam=A3F1C0DE7B",
       "http://b.example.test/pkg/setup_001_003.exe?authparam=" + kSignedValue},
      // Without authparam (the name is exact): byte for byte.
      {"https://dl.example.test/pkg/setup%20x_001_003.exe?a=1&b=%C3%A9\xE9",
       "https://dl.example.test/pkg/setup%20x_001_003.exe?a=1&b=%C3%A9\xE9"},
      {"https://dl.example.test/f.exe?AuthParam=a3f1c0de7b", "https://dl.example.test/f.exe?AuthParam=a3f1c0de7b"},
      // No token (an empty key, no path): the value that hides the key goes.
      {"https://dl.example.test/f.exe?authparam=&x=1", "https://dl.example.test/f.exe?authparam=&x=1"},
      {"setup.exe?authparam=a3f1c0de7b&x=1", "setup.exe?authparam=&x=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(SignDownloadUrl(c.url), c.expected) << c.url.substr(0, 100);
}

}  // namespace
