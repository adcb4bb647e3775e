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

// The file to start is always a full path: the shell never searches for it.
TEST(LaunchFile, ANameIsTakenFromTheLaunchFolderElseFromTheProgramsFolder) {
  const std::wstring program = L"C:\\Downloads\\";
  EXPECT_EQ(LaunchFile(L"bin/Setup.exe", L"C:\\P\\", program), L"C:\\P\\bin\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"Setup.exe", L"C:\\P", program), L"C:\\P\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"Setup.exe", L"", program), L"C:\\Downloads\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"D:\\Other\\Setup.exe", L"", program), L"D:\\Other\\Setup.exe");
  EXPECT_EQ(LaunchFile(L"Setup.exe", L"", L""), L"");
  // With a launch folder the name must stay inside it.
  for (const wchar_t* name : {L"D:\\Other\\Setup.exe", L"\\\\server\\share\\Setup.exe", L"..\\Setup.exe",
                              L"\\Setup.exe", L"Setup.exe:stream", L"C:Setup.exe"}) {
    EXPECT_EQ(LaunchFile(name, L"C:\\P\\", program), L"") << name;
  }
  EXPECT_EQ(LaunchFile(L"..\\Setup.exe", L"", program), L"");
}

}  // namespace
}  // namespace GenericStub
