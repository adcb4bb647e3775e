#include "actions/ReplacementEntries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogCapture.h"

namespace GenericStub {
namespace {

std::vector<Replacement> Select(const std::wstring& text, const std::wstring& version) {
  const auto entries = ParseReplacementEntries(text);
  return entries ? SelectReplacements(*entries, version) : std::vector<Replacement>{};
}

TEST(ReplacementEntries, OnlyEntriesOfTheExactVersionTextApply) {
  LogCapture log;
  const auto selected = Select(
      LR"([{"version":"1.0.0.1","sourceUrl":"u1/","path":"p1\\","files":"x.dll"},
           {"version":"1.0.0.02","sourceUrl":"u2/","path":"p2\\","files":"y.dll"},
           {"version":"1.0.0.2","sourceUrl":"u3/","path":"p3\\","files":"|a.dll||b.dll|"}])",
      L"1.0.0.2");
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0].sourceUrl, L"u3/");
  EXPECT_EQ(selected[0].path, L"p3\\");
  EXPECT_EQ(selected[0].files, (std::vector<std::wstring>{L"a.dll", L"b.dll"}));
  EXPECT_EQ(log.text(), "");
}

// Texts that are not a JSON array are refused as the argument actions refuse them.
TEST(ReplacementEntries, BadEntriesAreLoggedAndSkipped) {
  struct {
    const wchar_t* text;
    const char* log;
  } const cases[] = {
      {L"[1]", "ERROR:: additionalArguments has invalid arguments."},
      {LR"([{"version":"","sourceUrl":"u","path":"p","files":"f"}])",
       "ERROR:: additionalArguments has an entry where file version is not available."},
      {LR"([{"version":"1","sourceUrl":"","path":"","files":""}])",
       "ERROR:: additionalArguments has an entry where source is not available."},
      {LR"([{"version":"1","sourceUrl":"u","path":"","files":"f"}])",
       "ERROR:: additionalArguments has an entry where the file path of files to be replaced is not available."},
      {LR"([{"version":"1","sourceUrl":"u","path":"p","files":""}])",
       "ERROR:: additionalArguments has an entry where there are no files to be replaced."},
  };
  for (const auto& c : cases) {
    LogCapture log;
    EXPECT_TRUE(Select(c.text, L"1").empty());
    EXPECT_EQ(log.text(), c.log) << c.log;
  }
}

TEST(ReplacementEntries, AMissingOrNonStringMemberIsALogicError) {
  for (const wchar_t* text : {LR"([{"sourceUrl":"u","path":"p","files":"f"}])",
                              LR"([{"version":"1","sourceUrl":"u","path":"p","files":7}])"}) {
    const auto entries = ParseReplacementEntries(text);
    ASSERT_TRUE(entries);
    EXPECT_THROW(SelectReplacements(*entries, L"1"), Json::LogicError);
  }
}

}  // namespace
}  // namespace GenericStub
