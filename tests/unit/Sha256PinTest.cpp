#include "catalog/Sha256Pin.h"

#include <gtest/gtest.h>

namespace Catalog {
namespace {

constexpr wchar_t kEmptyHash[] = L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

TEST(Sha256Pin, ExactlySixtyFourHexDigitsInEitherCaseNameADigest) {
  const auto lower = ParseSha256(kEmptyHash);
  ASSERT_TRUE(lower.has_value());
  EXPECT_EQ((*lower)[0], 0xE3);
  EXPECT_EQ((*lower)[31], 0x55);
  EXPECT_EQ(Sha256Text(*lower), kEmptyHash);
  EXPECT_EQ(ParseSha256(L"E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852b855"), lower);

  const std::wstring hash = kEmptyHash;
  for (const std::wstring& text : {std::wstring(), hash.substr(1), hash + L"0", L" " + hash.substr(1),
                                    hash.substr(0, 63) + L"g", L"0x" + hash.substr(2), hash.substr(0, 32)}) {
    EXPECT_FALSE(ParseSha256(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace Catalog
