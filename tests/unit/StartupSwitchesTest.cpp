#include "startup/StartupSwitches.h"

#include <gtest/gtest.h>

using namespace Startup;

namespace {

StartupSwitches FromCommandLine(const wchar_t* commandLine) {
  return ParseSwitches(SplitCommandLine(commandLine));
}

// Only the exact texts count, anywhere among the arguments.
TEST(StartupSwitches, ExactTextsAnywhereAmongTheArguments) {
  const StartupSwitches both = FromCommandLine(L"x -showmetadata \"y z\" -debug");
  EXPECT_TRUE(both.debug);
  EXPECT_TRUE(both.showMetadata);
  EXPECT_TRUE(FromCommandLine(L"\"-debug\"").debug);
  EXPECT_FALSE(FromCommandLine(L"-debug").showMetadata);
  EXPECT_FALSE(FromCommandLine(nullptr).debug);
  for (const wchar_t* line : {L"", L"-Debug", L"-DEBUG", L"/debug", L"--debug", L"-debugger", L"-debu",
                              L"-ShowMetadata", L"-showmetadata=1", L"-show"}) {
    const StartupSwitches switches = FromCommandLine(line);
    EXPECT_FALSE(switches.debug) << line;
    EXPECT_FALSE(switches.showMetadata) << line;
  }
}

}  // namespace
