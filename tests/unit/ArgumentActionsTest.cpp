#include "actions/AddArgumentsAction.h"
#include "actions/ArgumentText.h"
#include "actions/HardeningCommands.h"
#include "actions/RemoveArgumentsAction.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "base/Handles.h"
#include "TempFolder.h"

namespace GenericStub {
namespace {

// This test program stands in for the installer: its file version is 2.0.10.0 (InstallerVersion.rc).
std::wstring OwnPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

template <class ArgumentAction>
class ArgumentActionTest : public ::testing::Test {
 protected:
  // Runs the action on the installer folder + name with the given switches.
  void run(const std::wstring& switches, const std::wstring& arguments = L"=arguments",
           const std::wstring& folder = OwnPath().substr(0, OwnPath().rfind(L'\\') + 1),
           const std::wstring& name = OwnPath().substr(OwnPath().rfind(L'\\') + 1)) {
    ArgumentAction action;
    action.setField(kInput, L"arguments", arguments);
    action.setField(kInput, L"additionalArguments", switches);
    action.setField(kInput, L"executableName", name);
    action.setField(kInput, L"launchPath", folder);
    action.run(store, nullptr);
  }

  ValueStore store;
  LogCapture log;
};

using AddArgumentsTest = ArgumentActionTest<AddArgumentsAction>;
using RemoveArgumentsTest = ArgumentActionTest<RemoveArgumentsAction>;

TEST_F(AddArgumentsTest, SwitchIsAddedWhenTheInstallerMeetsItsMinimum) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"", true},           {L"2.0.10.0", true},    {L"2.0.11.0", false}, {L"2.0.9.0", true},
      {L"2.0.10.0.0", true}, {L"2.0.10.0.1", false}, {L"2", true},         {L"2.1", false},
      {L"1.99.99.99", true}, {L"10", false},
  };
  for (const auto& [minimum, added] : cases) {
    store.set(L"arguments", L"/S");
    store.set(L"lang", L"en-US");
    run(LR"([{"argumentName": "lang", "minSupportVersion": ")" + std::wstring(minimum) + L"\"}]");
    EXPECT_EQ(store.lookup(L"arguments"), added ? L"/S /lang \"en-US\"" : L"/S") << minimum;
  }
  EXPECT_EQ(log.text(), "");
}

TEST_F(AddArgumentsTest, SwitchesWithValuesAreAppendedInOrderAndTheOthersPassedOver) {
  store.set(L"lang", L"de-DE");
  store.set(L"empty", L"");
  store.set(L"dir", L"C:\\Program Files\\\"Q\"");
  run(LR"([{"argumentName": "lang", "minSupportVersion": ""}, "not an object",
           {"argumentName": "", "minSupportVersion": ""}, {"argumentName": "empty", "minSupportVersion": ""},
           {"argumentName": "absent", "minSupportVersion": ""}, {"argumentName": "dir", "minSupportVersion": "2.0"}])");
  // No command line before: the first switch still begins with a blank; values are quoted by the split's rules.
  EXPECT_EQ(store.lookup(L"arguments"), L" /lang \"de-DE\" /dir \"C:\\Program Files\\\\\\\"Q\\\"\"");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments has invalid arguments."
            "ERROR:: additionalArguments has an invalid argument name.");

  // A command line given as text that the switches leave unchanged is not stored.
  ValueStore fresh;
  store = fresh;
  run(LR"([{"argumentName": "absent", "minSupportVersion": ""}])", L"/S");
  EXPECT_EQ(store.lookupOr(L"arguments", L"<absent>"), L"<absent>");
}

TEST_F(AddArgumentsTest, NameOrMinimumThatIsMissingOrNotAStringEndsTheRun) {
  store.set(L"lang", L"de-DE");
  for (const wchar_t* element : {LR"({"minSupportVersion": ""})", LR"({"argumentName": 5, "minSupportVersion": ""})",
                                 LR"({"argumentName": "lang", "minSupportVersion": 2})",
                                 LR"({"argumentName": "", "minSupportVersion": null})"}) {
    EXPECT_THROW(run(L"[" + std::wstring(element) + L"]"), Json::LogicError) << element;
  }
}

TEST_F(AddArgumentsTest, NothingToEditOrNoInstallerVersionChangesNothing) {
  store.set(L"arguments", L"/S");
  store.set(L"lang", L"de-DE");
  const std::wstring switches = LR"([{"argumentName": "lang", "minSupportVersion": ""}])";
  TempFolder folder;
  std::ofstream((folder.path() + L"\\setup.exe").c_str()) << "MZ without a version record";

  run(L"");
  run(L"[{\"argumentName\": ");
  run(LR"({"argumentName": "lang"})");
  run(switches, L"=arguments", folder.path() + L"\\", L"setup.exe");
  run(switches, L"=arguments", folder.path() + L"\\", L"missing.exe");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments data is not a json."
            "ERROR:: additionalArguments data is not an array."
            "ERROR:: file version not available."
            "ERROR:: file version not available.");
}

TEST_F(RemoveArgumentsTest, EveryOccurrenceOfTheSwitchGoesAndItsValuesStay) {
  store.set(L"arguments", L"/S /lang \"en\" /lang \"de\" /langpack \"x\" /q");
  run(LR"(["lang", 7, "", "q"])");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S  \"en\"  \"de\" /langpack \"x\" ");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments has invalid arguments."
            "ERROR:: additionalArguments has an invalid argument.");

  TempFolder folder;
  run(LR"(["S"])", L"=arguments", folder.path() + L"\\", L"missing.exe");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S  \"en\"  \"de\" /langpack \"x\" ");
}

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
