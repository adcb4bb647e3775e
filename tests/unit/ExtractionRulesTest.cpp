#include <gtest/gtest.h>

#include "actions/ExtractionPaths.h"
#include "actions/HardeningCommands.h"
#include "actions/RelativeNames.h"

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

TEST(FolderRules, OnlyAPrivateFolderOfTheUserOrTheSystemIsUsed) {
  using O = FolderOwner;
  const struct {
    FolderFacts facts;  // reparse point, owner, others may change
    bool root;
    bool packageFolder;
  } cases[] = {
      {{false, O::kUser, false}, true, true},
      {{false, O::kAdministrators, false}, true, true},
      {{false, O::kSystem, true}, true, false},   // the root as Windows made it: shared, but usable
      {{false, O::kUser, true}, true, false},     // someone else may write into it
      {{true, O::kUser, false}, false, false},    // a link or junction
      {{false, O::kOther, false}, false, false},  // made by another user
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MayUseRoot(c.facts), c.root);
    EXPECT_EQ(MayReusePackageFolder(c.facts), c.packageFolder);
  }
}

TEST(RelativeNameRefusal, NamesThatLeaveTheFolderOrThatWindowsRewritesAreRefused) {
  for (const wchar_t* name : {L"Setup.exe", L"bin\\tool.exe", L"bin/tool.exe", L"a..b.exe", L"cone.d\\x",
                              L".hidden", L"COM0", L"LPT10.txt"}) {
    EXPECT_EQ(RelativeNameRefusal(name), L"") << name;
  }
  for (const wchar_t* name : {L"", L"..\\x", L"a/../../x", L"\\x", L"/x", L"\\\\server\\s\\x", L"C:\\x", L"C:x",
                              L"a.txt:evil", L"a.txt::$DATA", L"x/.. /y", L"bin.\\x", L"Setup.exe ", L"Setup.exe.",
                              L"nul", L"dir\\CON.txt", L"aux ", L"com1", L"LPT9.log", L"CONIN$", L"a\x01b",
                              L"a?b", L"a|b"}) {
    EXPECT_NE(RelativeNameRefusal(name), L"") << name;
  }
  EXPECT_EQ(PathBelow(L"C:\\P\\", L"bin/sub/x.exe"), L"C:\\P\\bin\\sub\\x.exe");
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
