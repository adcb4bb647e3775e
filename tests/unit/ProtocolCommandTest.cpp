#include "actions/ProtocolCommand.h"

#include <gtest/gtest.h>

namespace GenericStub {
namespace {

TEST(ProtocolCommandTest, EveryPercentOneTakesTheUrlAndNothingElseChanges) {
  const std::wstring url = L"tarnwick://get?file=a%201&x=%1F";
  struct Case {
    const wchar_t* commandTemplate;
    std::wstring commandLine;
  } cases[] = {
      {L"\"C:\\Handler\\h.exe\" \"%1\"", L"\"C:\\Handler\\h.exe\" \"" + url + L"\""},
      {L"h.exe %1 --again=%1", L"h.exe " + url + L" --again=" + url},
      {L"h.exe --no-url", L"h.exe --no-url"},
      {L"h.exe %2 %% %L %~1 %", L"h.exe %2 %% %L %~1 %"},
      {L"h.exe %%1 %11", L"h.exe %" + url + L" " + url + L"1"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillProtocolCommand(c.commandTemplate, url), c.commandLine);
}

TEST(ProtocolCommandTest, ProgramIsSplitFromTheCommandLineAndOnlyABareNameIsSearchedFor) {
  struct Case {
    const wchar_t* commandLine;
    const wchar_t* program;
    bool fullyQualified;
    bool bare;
  } cases[] = {
      {L"\"C:\\Program Files\\h.exe\" \"%1\"", L"C:\\Program Files\\h.exe", true, false},
      {L"C:\\Program Files\\h.exe %1", L"C:\\Program", true, false},
      {L"\\\\server\\share\\h.exe\t%1", L"\\\\server\\share\\h.exe", true, false},
      {L"rundll32.exe url.dll,FileProtocolHandler %1", L"rundll32.exe", false, true},
      {L"\"handler\" %1", L"handler", false, true},
      {L"tools\\h.exe %1", L"tools\\h.exe", false, false},
      {L".\\h.exe", L".\\h.exe", false, false},
      {L"C:h.exe", L"C:h.exe", false, false},
      {L"\\h.exe", L"\\h.exe", false, false},
      {L"\"unclosed %1", L"unclosed %1", false, true},
      {L"", L"", false, false},
  };
  for (const Case& c : cases) {
    const std::wstring program = ProgramOfCommandLine(c.commandLine);
    EXPECT_EQ(program, c.program);
    EXPECT_EQ(IsFullyQualifiedPath(program), c.fullyQualified) << program;
    EXPECT_EQ(IsBareFileName(program), c.bare) << program;
  }
}

}  // namespace
}  // namespace GenericStub
