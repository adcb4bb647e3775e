#include "startup/StartupSwitches.h"

#include <gtest/gtest.h>

using namespace Startup;

namespace {

StartupSwitches FromCommandLine(const wchar_t* commandLine) {
  return ParseSwitches(SplitCommandLine(commandLine));
}

TEST(StartupSwitches, NoArgumentsSetNothing) {
  const StartupSwitches none = FromCommandLine(L"");
  EXPECT_FALSE(none.debug);
  EXPECT_FALSE(none.showMetadata);
  EXPECT_FALSE(FromCommandLine(nullptr).debug);
}

TEST(StartupSwitches, ExactTextsAnywhereAmongTheArguments) {
  const StartupSwitches both = FromCommandLine(L"x -showmetadata \"y z\" -debug");
  EXPECT_TRUE(both.debug);
  EXPECT_TRUE(both.showMetadata);
  EXPECT_TRUE(FromCommandLine(L"\"-debug\"").debug);
  EXPECT_FALSE(FromCommandLine(L"-debug").showMetadata);
}

TEST(StartupSwitches, OtherLetterCaseOrPrefixesSetNothing) {
  for (const wchar_t* line : {L"-Debug", L"-DEBUG", L"/debug", L"--debug", L"-debugger", L"-debu",
                              L"-ShowMetadata", L"-showmetadata=1", L"-show"}) {
    const StartupSwitches switches = FromCommandLine(line);
    EXPECT_FALSE(switches.debug) << line;
    EXPECT_FALSE(switches.showMetadata) << line;
  }
}

}  // namespace
