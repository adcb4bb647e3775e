#include <gtest/gtest.h>

#include "actions/LaunchRules.h"

namespace GenericStub {
namespace {

// The everyday cases (a switch after arguments or alone, "0", a folder with and
// without its final backslash) are shown by the run-executable scenarios.

TEST(LaunchParameters, QuietAppendsItsSwitchWhenItReadsNonZero) {
  EXPECT_EQ(LaunchParameters(L"/S", L" 12abc"), L"/S -quiet");
  EXPECT_EQ(LaunchParameters(L"/S", L"yes"), L"/S");
  EXPECT_EQ(LaunchParameters(L"", L""), L"");
}

TEST(LaunchFile, ARelativeNameIsTakenFromTheLaunchFolder) {
  EXPECT_EQ(LaunchFile(L"bin\\Setup.exe", L"C:\\P\\"), L"C:\\P\\bin\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"Setup.exe", L""), L"Setup.exe");
  EXPECT_EQ(LaunchFile(L"D:\\Other\\Setup.exe", L"C:\\P\\"), L"D:\\Other\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"\\\\server\\share\\Setup.exe", L"C:\\P\\"), L"\\\\server\\share\\Setup.exe");
}

}  // namespace
}  // namespace GenericStub
