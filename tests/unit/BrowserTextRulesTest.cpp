// Text rules of the browser launch: part URLs and the browser's executable.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "catalog/PartUrls.h"
#include "ui/BrowserCommand.h"
#include "ui/StringTableBlock.h"

using namespace Ui;
using Catalog::ExpandPartUrls;

namespace {

using Urls = std::vector<std::string>;

// "_NNN_MMM" (three digits each) names part NNN of MMM: every marker of the URL
// is rewritten for each part; anything else is a URL of its own.
TEST(PartUrls, APartNamesAllPartsInOrderAndAnythingElseIsItsOwnList) {
  EXPECT_EQ(ExpandPartUrls("https://dl.example.test/pkg/setup_002_003.exe?authparam=ab"),
            (Urls{"https://dl.example.test/pkg/setup_001_003.exe?authparam=ab",
                  "https://dl.example.test/pkg/setup_002_003.exe?authparam=ab",
                  "https://dl.example.test/pkg/setup_003_003.exe?authparam=ab"}));
  EXPECT_EQ(ExpandPartUrls("https://h/v_001_002./f_001_002.exe"),
            (Urls{"https://h/v_001_002./f_001_002.exe", "https://h/v_002_002./f_002_002.exe"}));
  EXPECT_TRUE(ExpandPartUrls("https://h/setup_001_000.exe").empty());
  const std::string plain = "https://h/" + std::string(100000, '_') + "1_2.exe";
  for (const std::string url : {"https://dl.example.test/pkg/setup.exe", "https://h/setup_1_3.exe",
                                "https://h/setup_0001_003.exe", "https://h/setup_001_003exe", plain.c_str()}) {
    EXPECT_EQ(ExpandPartUrls(url), Urls{url});
  }
  const std::string query = "?q=" + std::string(100000, 'q');
  EXPECT_EQ(ExpandPartUrls("https://h/setup_001_002.exe" + query),
            (Urls{"https://h/setup_001_002.exe" + query, "https://h/setup_002_002.exe" + query}));
}

TEST(PartUrls, CountsAboveNinetyNineKeepThreeDigits) {
  const Urls urls = ExpandPartUrls("https://h/p_007_120.bin");
  ASSERT_EQ(urls.size(), 120u);
  EXPECT_EQ(urls[0], "https://h/p_001_120.bin");
  EXPECT_EQ(urls[99], "https://h/p_100_120.bin");
  EXPECT_EQ(urls[119], "https://h/p_120_120.bin");
}

// A quoted executable is taken from between the quotes; an unquoted one ends at
// the first blank after the last backslash.
TEST(BrowserCommand, TheExecutableOfACommandLine) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {LR"("C:\Program Files\Browser\browser.exe" --single-argument %1)", LR"(C:\Program Files\Browser\browser.exe)"},
      {LR"("C:\b.exe)", LR"(C:\b.exe)"},
      {LR"(C:\Program Files\Browser\browser.exe -- %1)", LR"(C:\Program Files\Browser\browser.exe)"},
      {LR"(C:\Browser\browser.exe)", LR"(C:\Browser\browser.exe)"},
      {L"browser.exe %1", L"browser.exe %1"},
  };
  for (const auto& [command, executable] : cases) EXPECT_EQ(BrowserExecutableFromCommand(command), executable);
}

// Well-formed blocks are read by the resource tests.
TEST(StringTableBlock, ATruncatedBlockGivesEmptyTextNotAnOverread) {
  // "abc" and "defg" as the resource compiler writes them (a length, then UTF-16
  // units), without the last byte.
  const std::string data("\3\0a\0b\0c\0\4\0d\0e\0f\0g", 17);
  EXPECT_EQ(StringFromTableBlock(data.data(), data.size(), 1), L"");
  EXPECT_EQ(StringFromTableBlock(data.data(), data.size(), 0), L"abc");
  EXPECT_EQ(StringFromTableBlock(data.data(), data.size(), 5), L"");
  EXPECT_EQ(StringFromTableBlock(data.data(), 1, 0), L"");
  EXPECT_EQ(StringFromTableBlock(data.data(), data.size(), 16), L"");
}

}  // namespace
