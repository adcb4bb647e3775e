#include <gtest/gtest.h>

#include "proxy/EnvironmentFlag.h"

namespace ORVK::ProxyManager {
namespace {

TEST(EnvironmentSwitch, TrueOrFalseInAnyCaseAndAnythingElseGivesTheDefault) {
  for (const wchar_t* value : {L"TRUE", L"true", L"True", L"tRuE"}) {
    EXPECT_TRUE(ParseEnvironmentFlag(value, false)) << value;
  }
  for (const wchar_t* value : {L"FALSE", L"false", L"False", L"fAlSe"}) {
    EXPECT_FALSE(ParseEnvironmentFlag(value, true)) << value;
  }
  for (const wchar_t* value : {L"", L"0", L"1", L"yes", L"no", L" true", L"true ", L"TRUE1", L"on"}) {
    EXPECT_TRUE(ParseEnvironmentFlag(value, true)) << value;
    EXPECT_FALSE(ParseEnvironmentFlag(value, false)) << value;
  }
}

}  // namespace
}  // namespace ORVK::ProxyManager
