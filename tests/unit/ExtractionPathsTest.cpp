#include <gtest/gtest.h>

#include "actions/ExtractionPaths.h"

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

}  // namespace
}  // namespace GenericStub
