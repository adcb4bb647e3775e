// Text and placement rules of the windows: status texts, failure codes,
// progress values, the browser's link colours and centring.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "ui/StatusText.h"
#include "window/AnchorColor.h"
#include "window/Centring.h"

using namespace Ui;
using namespace Window;

// The everyday values (percentages, codes 3 to 11, "abc" as progress) are
// shown by the main window scenarios; these are their edges.
TEST(StatusTextTest, AFailureTextThatHoldsAPlaceholderIsInsertedAsItStands) {
  EXPECT_EQ(FormatStatusText(L"已中止。(错误:%s)", L"%s%%"), L"已中止。(错误:%s%%)");
  EXPECT_EQ(FormatStatusText(L"100% %d %", L"x"), L"100% %d %");
}

TEST(StatusTextTest, FailureCodeIsTheLeadingNumber) {
  EXPECT_EQ(FailureCodeOf(" 8 trailing"), 8);
  EXPECT_EQ(FailureCodeOf("invalid stof argument"), 0);
  EXPECT_EQ(FailureCodeOf(""), 0);
  EXPECT_EQ(FailureCodeOf("99999999999999999999"), 2147483647);
}

TEST(StatusTextTest, ProgressValuesConvertAsStofDoesWithItsMessages) {
  EXPECT_FLOAT_EQ(ParseProgressPercent(" 100.00"), 100.0f);
  EXPECT_FLOAT_EQ(ParseProgressPercent("12abc"), 12.0f);
  for (const char* text : {"", " .", "-"}) {
    try {
      ParseProgressPercent(text);
      ADD_FAILURE() << "no failure for \"" << text << "\"";
    } catch (const std::invalid_argument& failure) {
      EXPECT_STREQ(failure.what(), "invalid stof argument");
    }
  }
  try {
    ParseProgressPercent("1e99");
    ADD_FAILURE() << "no failure for 1e99";
  } catch (const std::out_of_range& failure) {
    EXPECT_STREQ(failure.what(), "stof argument out of range");
  }
}

TEST(StatusTextTest, PositionIsThePercentageTruncatedAndAlwaysDefined) {
  EXPECT_EQ(PositionOfPercent(-0.5f), 0);
  EXPECT_EQ(PositionOfPercent(-3.5f), -3);
  // What a download of unknown or zero length could report.
  EXPECT_EQ(PositionOfPercent(std::nanf("")), 0);
  EXPECT_EQ(PositionOfPercent(HUGE_VALF), 2147483647);
  EXPECT_EQ(PositionOfPercent(-HUGE_VALF), -2147483647 - 1);
  EXPECT_EQ(PositionOfPercent(3e9f), 2147483647);
}

TEST(AnchorColorTest, ReadsThreeDecimalComponents) {
  EXPECT_EQ(ParseAnchorColor(L"5,132,189"), 0xBD8405u);
  for (const wchar_t* bad : {L"", L"1,2", L"1,2,3,4", L"256,0,0", L"a,b,c", L"1,,3", L"-1,0,0", L"00001,0,0"}) {
    EXPECT_FALSE(ParseAnchorColor(bad).has_value()) << std::wstring(bad).size();
  }
}

TEST(CentringTest, CentresOnTheAreaAndStaysInsideTheWorkArea) {
  const Box work{0, 0, 1280, 1000};
  long x = 0, y = 0;
  CentredPosition({0, 0, 400, 200}, work, work, x, y);
  EXPECT_EQ(x, 440);
  EXPECT_EQ(y, 400);
  // On an owner near the right edge: pushed back inside.
  CentredPosition({0, 0, 400, 200}, {1100, 900, 1280, 1000}, work, x, y);
  EXPECT_EQ(x, 880);
  EXPECT_EQ(y, 800);
  // Near the top-left corner of a work area that does not start at 0.
  CentredPosition({0, 0, 400, 200}, {0, 0, 100, 100}, {50, 40, 1280, 1000}, x, y);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 40);
  // Larger than the work area: the top-left corner stays visible.
  CentredPosition({0, 0, 2000, 1200}, work, work, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}
