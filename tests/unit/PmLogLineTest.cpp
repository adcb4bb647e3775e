#include <gtest/gtest.h>

#include <string>

#include "proxy/PmLogLine.h"

namespace ORVK::ProxyManager {
namespace {

TEST(DebugLogLine, PrefixTagMessageAndLineFeedAndUnknownLevelsAreInfo) {
  EXPECT_EQ(L"Orvakel   OrvkProxyManager   [DEBUG]   hello\n", PmLogLine(PM_LOG_DEBUG, std::wstring_view(L"hello")));
  EXPECT_EQ("Orvakel   OrvkProxyManager   [ERROR]   PMStatus:4\n", PmLogLine(PM_LOG_ERROR, std::string_view("PMStatus:4")));
  EXPECT_STREQ(L"[INFO]", PmLogTag(5));
  EXPECT_STREQ(L"[INFO]", PmLogTag(-1));
}

}  // namespace
}  // namespace ORVK::ProxyManager
