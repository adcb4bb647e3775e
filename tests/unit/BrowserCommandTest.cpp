#include <gtest/gtest.h>

#include <utility>

#include "ui/BrowserCommand.h"

using namespace Ui;

namespace {

// A quoted executable is taken from between the quotes; an unquoted one ends at
// the first blank after the last backslash.
TEST(BrowserCommand, TheExecutableOfACommandLine) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {LR"("C:\Program Files\Browser\browser.exe" --single-argument %1)", LR"(C:\Program Files\Browser\browser.exe)"},
      {LR"("C:\b.exe)", LR"(C:\b.exe)"},
      {LR"(C:\Program Files\Browser\browser.exe -- %1)", LR"(C:\Program Files\Browser\browser.exe)"},
      {LR"(C:\Browser\browser.exe)", LR"(C:\Browser\browser.exe)"},
      {L"browser.exe %1", L"browser.exe %1"},
  };
  for (const auto& [command, executable] : cases) EXPECT_EQ(BrowserExecutableFromCommand(command), executable);
}

}  // namespace
