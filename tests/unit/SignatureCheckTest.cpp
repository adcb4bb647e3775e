#include "base/SignatureCheck.h"

#include <gtest/gtest.h>

using namespace Base;

namespace {

TEST(VerifyFileSignature, NoPathGivesTwo) {
  EXPECT_EQ(VerifyFileSignature(nullptr), 2);
  EXPECT_EQ(VerifyFileSignature(L""), 2);
}

}  // namespace
