#include <gtest/gtest.h>

#include <string>

#include "ui/StringTableBlock.h"

using namespace Ui;

namespace {

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
