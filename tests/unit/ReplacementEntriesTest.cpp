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

// Which entry applies (the exact version text), the files split at "|" and the
// source and path used, and an entry without a version, are shown by the file
// replacement scenario of the package download.
// Texts that are not a JSON array are refused as the argument actions refuse them.
TEST(ReplacementEntries, BadEntriesAreLoggedAndSkipped) {
  struct {
    const wchar_t* text;
    const char* log;
  } const cases[] = {
      {L"[1]", "ERROR:: additionalArguments has invalid arguments."},
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
