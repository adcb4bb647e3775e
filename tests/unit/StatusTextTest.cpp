// Status texts, failure codes and progress values of the main window.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "ui/StatusText.h"

using namespace Ui;

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

namespace {

// What reading text as a progress value raises, "<exception>: <message>", or "" for nothing.
std::string FailureOf(const char* text) {
  try {
    ParseProgressPercent(text);
  } catch (const std::invalid_argument& failure) {
    return std::string("invalid_argument: ") + failure.what();
  } catch (const std::out_of_range& failure) {
    return std::string("out_of_range: ") + failure.what();
  }
  return "";
}

}  // namespace

TEST(StatusTextTest, ProgressValuesConvertAsStofDoesWithItsMessages) {
  EXPECT_FLOAT_EQ(ParseProgressPercent(" 100.00"), 100.0f);
  EXPECT_FLOAT_EQ(ParseProgressPercent("12abc"), 12.0f);
  for (const char* text : {"", " .", "-"}) {
    EXPECT_EQ(FailureOf(text), "invalid_argument: invalid stof argument") << "\"" << text << "\"";
  }
  EXPECT_EQ(FailureOf("1e99"), "out_of_range: stof argument out of range");
}

TEST(StatusTextTest, OnlyTheDownloadersOwnFormIsReadWithoutTheJsonLibrary) {
  const std::wstring head = L"{\"className\":\"class GenericStub::CDownloader\",\"content\":{\"progress\":\"";
  EXPECT_EQ(PlainProgressText(head + L"42.17\"}}"), "42.17");
  EXPECT_EQ(PlainProgressText(head + L"abc\"}}"), "abc");  // still not a number
  for (const std::wstring& other : {head + L"4\\u0032\"}}", head + L"4\"}} ", head + L"\x663\"}}",
                                    L"{\"className\":\"class GenericStub::CDownloader\", " + head.substr(46) + L"1\"}}"}) {
    EXPECT_EQ(PlainProgressText(other), std::nullopt);
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
