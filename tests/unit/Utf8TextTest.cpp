#include <gtest/gtest.h>

#include <string>

#include "base/Utf8Text.h"

namespace Base {
namespace {

TEST(Utf8Conversion, RoundTripsAllPlanesRefusesMalformedTextAndLenientFormsReplaceOnlyTheBadUnits) {
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
  // Lone surrogates are refused; the lenient forms replace only the bad units.
  EXPECT_FALSE(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)), narrow));
  EXPECT_FALSE(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00)) + L"a", narrow));
  EXPECT_EQ("a\xef\xbf\xbd" "b", WideToUtf8Lenient(L"a" + std::wstring(1, static_cast<wchar_t>(0xDBFF)) + L"b"));
  EXPECT_EQ(L"a\ufffdb", Utf8ToWideLenient("a\xff" "b"));
  EXPECT_EQ(L"\ufffd(", Utf8ToWideLenient("\xc3("));
}

}  // namespace
}  // namespace Base
