#include "blockformat/Base64.h"

#include <gtest/gtest.h>


using namespace BlockFormat;

namespace {

std::string Decode(std::string_view text) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(DecodeBase64Text(text, text.size(), out)) << text;
  return std::string(out.begin(), out.end());
}

std::string Encode(const std::string& bytes) {
  return EncodeBase64(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Test vectors of RFC 4648, section 10. That any bytes come back from their
// encoding is the property of the Base64Fuzz target.
const std::pair<const char*, const char*> kVectors[] = {
    {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};

TEST(Base64, StandardVectorsRoundTrip) {
  for (const auto& [plain, encoded] : kVectors) {
    EXPECT_EQ(Encode(plain), encoded);
    EXPECT_EQ(Decode(encoded), plain);
  }
}

TEST(Base64, LineBreaksBlanksAndPaddingAreSkippedWhereverAndAZeroCharacterEnds) {
  EXPECT_EQ(Decode("Zm9v\r\nYmFy\n"), "foobar");
  EXPECT_EQ(Decode(" Zm 9v\tYm Fy "), "foobar");
  EXPECT_EQ(Decode("Zm9v=YmFy"), "foobar");
  EXPECT_EQ(Decode("Zg"), "f");  // padding is optional
  EXPECT_EQ(Decode(std::string_view("Zm9v\0YmFy", 9)), "foo");
}

}  // namespace
