#include "actions/ProtocolCommand.h"

#include <gtest/gtest.h>

namespace GenericStub {
namespace {

// Filling the template is shown by the protocol handler scenarios.
TEST(ProtocolCommandTest, OnlyAProgramNamedWithoutAnyFolderIsSearchedFor) {
  struct Case {
    const wchar_t* commandLine;
    const wchar_t* program;
    bool fullyQualified;
    bool bare;
  } cases[] = {
      {L"\"C:\\Program Files\\h.exe\" \"%1\"", L"C:\\Program Files\\h.exe", true, false},
      {L"C:\\Program Files\\h.exe %1", L"C:\\Program", true, false},
      {L"\\\\server\\share\\h.exe\t%1", L"\\\\server\\share\\h.exe", true, false},
      {L"\"handler\" %1", L"handler", false, true},
      {L"tools\\h.exe %1", L"tools\\h.exe", false, false},
      {L"C:h.exe", L"C:h.exe", false, false},
      {L"\\h.exe", L"\\h.exe", false, false},
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
