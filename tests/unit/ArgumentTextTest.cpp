#include "actions/ArgumentText.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/HardeningCommands.h"
#include "base/Handles.h"

namespace GenericStub {
namespace {

// What the installer's C runtime and CommandLineToArgvW read back.
std::vector<std::wstring> Split(const std::wstring& commandLine) {
  int count = 0;
  const Base::LocalArgv argv(CommandLineToArgvW((L"setup.exe" + commandLine).c_str(), &count));
  return argv ? std::vector<std::wstring>(argv.get() + 1, argv.get() + count) : std::vector<std::wstring>{};
}

TEST(ArgumentText, AQuotedValueIsSplitBackAsOneArgumentByteForByte) {
  for (const std::wstring value : {L"plain", L"C:\\Orvakel\\Package\\", L"two blanks  \\", L"in\"ner",
                                   L"a\\\"b", L"a\\\\\"b\\\\", L"\"", L"", L"tab\tand \\\\server\\x"}) {
    EXPECT_EQ(Split(L" /dir " + QuoteArgument(value) + L" /S"), (std::vector<std::wstring>{L"/dir", value, L"/S"}))
        << value;
  }
}

TEST(ArgumentText, ASwitchIsRemovedOnlyWhereItStandsAsOne) {
  struct {
    const wchar_t* before;
    const wchar_t* after;
  } const cases[] = {
      {L"/lang \"en\" /S", L" \"en\" /S"},
      {L"/S /lang", L"/S "},
      {L"/S\t/lang:de /lang=de /lang\"de\"", L"/S\t:de =de \"de\""},
      {L"/langpack /S/lang x/lang", L"/langpack /S/lang x/lang"},
      {L"/url \"http://h/lang /lang x\" /lang", L"/url \"http://h/lang /lang x\" "},
      {L"/v \"a\\\" /lang\" /lang", L"/v \"a\\\" /lang\" "},  // an escaped quote does not end the quotes
      {L"/v \"a\\\\\" /lang", L"/v \"a\\\\\" "},               // an escaped backslash before a quote does
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveSwitch(c.before, L"lang"), c.after) << c.before;
}

}  // namespace
}  // namespace GenericStub
