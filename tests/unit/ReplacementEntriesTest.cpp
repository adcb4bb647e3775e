#include "actions/ReplacementEntries.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "LogCapture.h"

namespace GenericStub {
namespace {

const std::wstring kPin(64, L'a');

std::optional<Replacement> Read(const std::wstring& element, const std::wstring& version) {
  const auto entries = ParseReplacementEntries(L"[" + element + L"]");
  return entries ? ReadReplacement((*entries)[0], version) : std::nullopt;
}

// Which entry applies (the exact version text), the files split at "|", the
// source and path used, the order of the entries and an entry without a
// version are shown by the file replacement scenarios of the package download.
// Texts that are not a JSON array are refused as the argument actions refuse them.
TEST(ReplacementEntries, BadEntriesAreLoggedAndSkipped) {
  struct {
    std::wstring element;
    const char* log;
  } const cases[] = {
      {L"1", "ERROR:: additionalArguments has invalid arguments."},
      {LR"({"version":"1","sourceUrl":"","path":"","files":""})",
       "ERROR:: additionalArguments has an entry where source is not available."},
      {LR"({"version":"1","sourceUrl":"u","path":"","files":"f"})",
       "ERROR:: additionalArguments has an entry where the file path of files to be replaced is not available."},
      {LR"({"version":"1","sourceUrl":"u","path":"p","files":""})",
       "ERROR:: additionalArguments has an entry where there are no files to be replaced."},
      {LR"({"version":"1","sourceUrl":"u","path":"..\\x","files":"f"})",
       "ERROR:: additionalArguments has an entry whose path [..\\x] leads out of the installer's folder.\n"},
      {LR"({"version":"2","sourceUrl":"u","path":"bin","files":"a.dll|..\\b.dll"})",
       "ERROR:: additionalArguments has an entry whose file name [..\\b.dll] leads out of the installer's "
       "folder.\n"},
      {LR"({"version":"2","sourceUrl":"u","path":"bin","files":"a.dll|b.dll","sha256":"|)" + kPin + L"|\"}",
       "ERROR:: additionalArguments has an entry whose sha256 names [1] hashes for [2] files.\n"},
      {LR"({"version":"2","sourceUrl":"u","path":"bin","files":"a.dll","sha256":"0x12"})",
       "ERROR:: additionalArguments has an entry whose sha256 [0x12] is not 64 hexadecimal digits.\n"},
  };
  for (const auto& c : cases) {
    LogCapture log;
    EXPECT_FALSE(Read(c.element, L"1").has_value());
    EXPECT_EQ(log.text(), c.log) << c.log;
  }
}

// "sha256" is split as "files" is: one pin per file, in order; empty is none.
TEST(ReplacementEntries, PinsAreReadPerFileInTheOrderOfFiles) {
  const std::wstring other(64, L'B');
  const auto entry = Read(LR"({"version":"1","sourceUrl":"u","path":"p","files":"a.dll||b.dll","sha256":")" + kPin +
                              L"||" + other + L"|\"}",
                          L"1");
  ASSERT_TRUE(entry.has_value());
  ASSERT_EQ(entry->pins.size(), 2u);
  EXPECT_EQ(entry->pins[0], Catalog::ParseSha256(kPin));
  EXPECT_EQ(entry->pins[1], Catalog::ParseSha256(other));
  EXPECT_TRUE(Read(LR"({"version":"1","sourceUrl":"u","path":"p","files":"a.dll","sha256":""})", L"1")->pins.empty());
}

TEST(ReplacementEntries, AMissingOrNonStringMemberIsALogicError) {
  EXPECT_THROW(Read(LR"({"sourceUrl":"u","path":"p","files":"f"})", L"1"), Json::LogicError);
  EXPECT_THROW(Read(LR"({"version":"1","sourceUrl":"u","path":"p","files":7})", L"1"), Json::LogicError);
}

TEST(ReplacementEntries, FoldersAndNamesStayInsideTheInstallersFolder) {
  for (const wchar_t* path : {L"bin\\", L"bin", L".\\", L"a/b\\c", L"x..y\\", L"..a\\"}) {
    EXPECT_TRUE(IsFolderInside(path)) << path;
  }
  for (const wchar_t* path : {L"..", L"..\\", L"bin\\..\\..\\", L"a/../b", L"...\\", L".. \\", L"\\Windows\\",
                              L"/etc", L"C:\\x\\", L"C:x", L"bin:stream", L"a\\*\\", L"a\tb", L""}) {
    EXPECT_FALSE(IsFolderInside(path)) << path;
  }
  for (const wchar_t* name : {L"a.dll", L"setup.exe.config", L"..a", L"a..", L"a b.txt"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
  for (const wchar_t* name : {L".", L"..", L". .", L"sub\\a.dll", L"sub/a.dll", L"C:a.dll", L"a.dll:x",
                              L"a?.dll", L"\"a\"", L"a\nb"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
}

}  // namespace
}  // namespace GenericStub
