#include "base/SplitString.h"

#include <gtest/gtest.h>

namespace Base {
namespace {

TEST(SplitStringTest, KeepsOnlyTheNonEmptyPiecesBetweenSeparators) {
  using Pieces = std::vector<std::wstring>;
  EXPECT_EQ(SplitString(L"", L"#"), Pieces{});
  EXPECT_EQ(SplitString(L"###", L"#"), Pieces{});
  EXPECT_EQ(SplitString(L"a", L"#"), Pieces{L"a"});
  EXPECT_EQ(SplitString(L"#a##b#", L"#"), (Pieces{L"a", L"b"}));
  EXPECT_EQ(SplitString(L"x.exe; y.dll|z", L";| "), (Pieces{L"x.exe", L"y.dll", L"z"}));
  EXPECT_EQ(SplitString(L"no separators here", L""), Pieces{L"no separators here"});
}

}  // namespace
}  // namespace Base
