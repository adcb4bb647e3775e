#include "workflow/RunSettings.h"

#include <gtest/gtest.h>

namespace GenericStub {
namespace {

// Lower case, a longer path and none at all are shown by the start-up scenarios.
TEST(WindowTitleTest, TheServiceRequestPathInAnyLetterCaseIsQuickfetchAndNothingElse) {
  EXPECT_EQ(WindowTitleForRequestType(L"/TarnwickService/Zrq/Form"), L"Orvakel Quickfetch");
  for (const wchar_t* requestType : {L"/TARNWICKSERVICE/ZRQ/FORM/", L" /TARNWICKSERVICE/ZRQ/FORM", L"/TARNWICKSERVICE/ZRQ"}) {
    EXPECT_EQ(WindowTitleForRequestType(requestType), L"Orvakel Quickset") << requestType;
  }
}

}  // namespace
}  // namespace GenericStub
