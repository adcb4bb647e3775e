#include <gtest/gtest.h>

#include "actions/ExtractionPaths.h"
#include "actions/HardeningCommands.h"

namespace GenericStub {
namespace {

TEST(ExtractionFolderName, DropsTheInstallerSuffixInAnyCaseElseTheLastExtension) {
  const struct {
    const wchar_t* archive;
    const wchar_t* folder;
  } cases[] = {
      {L"Product_sETUP.EXE", L"Product"},
      {L"Prod_uct_Setup.exe", L"Prod_uct"},
      {L"Product_1.2.rar", L"Product_1.2"},      // "_" followed by something else: only the extension goes
      {L"Product_Setup.exe.rar", L"Product_Setup.exe"},
      {L"Product", L"Product"},
      {L"sub\\Product_Setup.exe", L"sub\\Product"},  // a folder part stays
      {L"..\\..\\escape.rar", L"..\\..\\escape"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractionFolderName(c.archive), c.folder) << c.archive;
}

TEST(LiesInsideRoot, OnlyPathsBelowTheRootCount) {
  const std::wstring root = L"C:\\Orvakel\\";
  EXPECT_TRUE(LiesInsideRoot(L"C:\\Orvakel\\Product\\", root));
  EXPECT_FALSE(LiesInsideRoot(L"C:\\escape\\", root));
  EXPECT_FALSE(LiesInsideRoot(L"C:\\Orvakel\\", root));  // the shared root itself
  EXPECT_FALSE(LiesInsideRoot(L"C:\\Orvakel2\\", root));
  EXPECT_FALSE(LiesInsideRoot(L"c:\\orvakel\\Product\\", root));  // compared case-sensitively
  EXPECT_FALSE(LiesInsideRoot(L"\\Product\\", L""));
}

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
