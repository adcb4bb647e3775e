#include <gtest/gtest.h>

#include "window/Centring.h"

using namespace Window;

TEST(CentringTest, CentresOnTheAreaAndStaysInsideTheWorkArea) {
  const Box work{0, 0, 1280, 1000};
  long x = 0, y = 0;
  CentredPosition({0, 0, 400, 200}, work, work, x, y);
  EXPECT_EQ(x, 440);
  EXPECT_EQ(y, 400);
  // On an owner near the right edge: pushed back inside.
  CentredPosition({0, 0, 400, 200}, {1100, 900, 1280, 1000}, work, x, y);
  EXPECT_EQ(x, 880);
  EXPECT_EQ(y, 800);
  // Near the top-left corner of a work area that does not start at 0.
  CentredPosition({0, 0, 400, 200}, {0, 0, 100, 100}, {50, 40, 1280, 1000}, x, y);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 40);
  // Larger than the work area: the top-left corner stays visible.
  CentredPosition({0, 0, 2000, 1200}, work, work, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}
