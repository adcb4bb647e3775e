#include <gtest/gtest.h>

#include "download/PartialFileName.h"

namespace GenericStub {
namespace {

TEST(PartialFile, NamedAfterItsTargetAndRecognisedOnlyInItsExactForm) {
  EXPECT_EQ(PartialFileName(L"sub\\Setup.exe", 0x1234abcd00000002ULL), L"sub\\Setup.exe.~1234abcd00000002.partial");
  EXPECT_EQ(ResumeRecordName(L"sub\\Setup.exe", 0x1234abcd00000002ULL), L"sub\\Setup.exe.~1234abcd00000002.resume");
  EXPECT_EQ(PartialFilePattern(L"Setup.exe"), L"Setup.exe.~*");
  for (const wchar_t* ours : {L"Setup.exe.~1234abcd00000002.partial", L"SETUP.EXE.~1234ABCD00000002.PARTIAL",
                              L"Setup.exe.~1234abcd00000002.resume"}) {
    const std::optional<LeftoverName> name = ParseLeftoverName(ours, L"Setup.exe");
    ASSERT_TRUE(name) << ours;
    EXPECT_EQ(name->tag, 0x1234abcd00000002ULL) << ours;
    EXPECT_EQ(name->record, std::wstring(ours).back() == L'e') << ours;
  }
  // What the pattern also finds, but a user or another program may have named so.
  for (const wchar_t* theirs :
       {L"Setup.exe.~notes.partial", L"Setup.exe.~1234abcd0000002.partial", L"Setup.exe.~1234abcd000000020.partial",
        L"Setup.exe.~1234abcd0000000g.partial", L"Setup.exe.x.~1234abcd00000002.partial",
        L"Setup.exe.~1234abcd00000002.resume.txt", L"Setup.exe.~1234abcd00000002", L"Setup.exe.~"}) {
    EXPECT_FALSE(ParseLeftoverName(theirs, L"Setup.exe")) << theirs;
  }
  EXPECT_EQ(FolderPartOf(L"C:\\Users\\me\\Downloads\\Setup.exe"), L"C:\\Users\\me\\Downloads\\");
  EXPECT_EQ(FolderPartOf(L"a/b.bin"), L"a/");
  EXPECT_EQ(FolderPartOf(L"Setup.exe"), L"");
}

}  // namespace
}  // namespace GenericStub
