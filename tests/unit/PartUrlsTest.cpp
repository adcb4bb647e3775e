#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/PartUrls.h"

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
  // Counts above ninety-nine keep three digits.
  const Urls urls = ExpandPartUrls("https://h/p_007_120.bin");
  ASSERT_EQ(urls.size(), 120u);
  EXPECT_EQ(urls[0], "https://h/p_001_120.bin");
  EXPECT_EQ(urls[99], "https://h/p_100_120.bin");
  EXPECT_EQ(urls[119], "https://h/p_120_120.bin");
}

}  // namespace
