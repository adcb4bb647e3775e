#include <gtest/gtest.h>

#include <string>

#include "window/AnchorColor.h"

using namespace Window;

TEST(AnchorColorTest, ReadsThreeDecimalComponents) {
  EXPECT_EQ(ParseAnchorColor(L"5,132,189"), 0xBD8405u);
  for (const wchar_t* bad : {L"", L"1,2", L"1,2,3,4", L"256,0,0", L"a,b,c", L"1,,3", L"-1,0,0", L"00001,0,0"}) {
    EXPECT_FALSE(ParseAnchorColor(bad).has_value()) << std::wstring(bad).size();
  }
}
