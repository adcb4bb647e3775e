#include <gtest/gtest.h>

#include "actions/HardeningCommands.h"

namespace GenericStub {
namespace {

TEST(HardeningCommands, EachPathIsOneQuotedArgument) {
  const auto lines = HardeningCommandLines(L"C:\\Windows\\system32\\icacls.exe", L"C:\\Orvakel\\A b&c^d%PATH%\\");
  ASSERT_EQ(lines.size(), 2u);
  // The folder's final "\" is doubled so that it does not escape the closing quote.
  EXPECT_EQ(lines[0], L"\"C:\\Windows\\system32\\icacls.exe\" \"C:\\Orvakel\\A b&c^d%PATH%\\\\\" /inheritance:d");
  EXPECT_EQ(lines[1],
            L"\"C:\\Windows\\system32\\icacls.exe\" \"C:\\Orvakel\\A b&c^d%PATH%\\\\\" /remove:g *S-1-5-11 /T");
}

TEST(QuoteArgument, FollowsTheRuntimeSplittingRules) {
  EXPECT_EQ(QuoteArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteArgument(L"a\\b"), L"\"a\\b\"");
  EXPECT_EQ(QuoteArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
  EXPECT_EQ(QuoteArgument(L"a\\\\"), L"\"a\\\\\\\\\"");
}

}  // namespace
}  // namespace GenericStub
