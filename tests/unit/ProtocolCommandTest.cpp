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

}  // namespace
}  // namespace GenericStub
