#include "actions/AddArgumentsAction.h"
#include "actions/RemoveArgumentsAction.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>
#include <stdexcept>

#include "LogCapture.h"
#include "TempFolder.h"
#include "actions/CompareVersion.h"
#include "actions/GetFileVersion.h"

namespace GenericStub {
namespace {

// This test program stands in for the installer: its file version is 2.0.10.0
// (InstallerVersion.rc).
const std::wstring& OwnPath() {
  static const std::wstring path = [] {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::wstring(buffer);
  }();
  return path;
}
std::wstring OwnFolder() { return OwnPath().substr(0, OwnPath().rfind(L'\\') + 1); }
std::wstring OwnName() { return OwnPath().substr(OwnPath().rfind(L'\\') + 1); }

template <class ArgumentAction>
class ArgumentActionTest : public ::testing::Test {
 protected:
  // Runs the action on this program with the command line "=arguments" and the given switches.
  void run(const std::wstring& switches, const std::wstring& folder = OwnFolder(),
           const std::wstring& name = OwnName()) {
    ArgumentAction action;
    action.setField(kInput, L"arguments", L"=arguments");
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

TEST(FileVersionTest, ComesFromTheFixedRecordOfAFileThatHasOne) {
  EXPECT_EQ(GetFileVersion(OwnPath()), L"2.0.10.0");
  TempFolder folder;
  const std::wstring text = folder.path() + L"\\setup.exe";
  std::ofstream(text.c_str()) << "MZ not a program";
  EXPECT_EQ(GetFileVersion(text), L"");
  EXPECT_EQ(GetFileVersion(folder.path() + L"\\missing.exe"), L"");
}

TEST(CompareVersionTest, ComparesPiecesAsNumbersWithMissingPiecesAsZero) {
  struct Case {
    const wchar_t* version;
    const wchar_t* minimum;
    bool met;
  } cases[] = {
      {L"2.0.10.0", L"", true},           {L"", L"", true},
      {L"", L"1.0.0.0", false},           {L"2.0.10.0", L"2.0.10.0", true},
      {L"2.0.10.0", L"2.0.11.0", false},  {L"2.0.10.0", L"2.0.9.0", true},
      {L"2.0.10.0", L"10.0.0.0", false},  {L"1.2", L"1.2.0.0", true},
      {L"1.2.0.0", L"1.2", true},         {L"1.2.0.0", L"1.2.0.0.1", false},
      {L"1.2.0.0", L"1.1.99", true},      {L"1.2.0.0", L"1.x.0.0", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareVersion(c.version, c.minimum), c.met) << c.version << L" against " << c.minimum;
  }
}

TEST_F(AddArgumentsTest, SwitchIsAddedWhenTheInstallerMeetsItsMinimum) {
  struct Case {
    const wchar_t* minimum;
    bool added;
  } cases[] = {
      {L"", true},           {L"2.0.10.0", true},   {L"2.0.11.0", false},   {L"2.0.9.0", true},
      {L"2.0.10.0.0", true}, {L"2.0.10.0.1", false}, {L"2", true},          {L"2.1", false},
      {L"1.99.99.99", true}, {L"3", false},
  };
  for (const Case& c : cases) {
    store.set(L"arguments", L"/S");
    store.set(L"lang", L"en-US");
    run(LR"([{"argumentName": "lang", "minSupportVersion": ")" + std::wstring(c.minimum) + L"\"}]");
    EXPECT_EQ(store.lookup(L"arguments"), c.added ? L"/S /lang \"en-US\"" : L"/S") << c.minimum;
  }
  EXPECT_EQ(log.text(), "");
}

TEST_F(AddArgumentsTest, SwitchesWithValuesAreAppendedInOrderAndTheOthersPassedOver) {
  store.set(L"lang", L"de-DE");
  store.set(L"empty", L"");
  store.set(L"dir", L"C:\\Program Files\\\"Q\"");
  run(LR"([{"argumentName": "lang", "minSupportVersion": ""},
           "not an object",
           {"argumentName": "", "minSupportVersion": ""},
           {"argumentName": "empty", "minSupportVersion": ""},
           {"argumentName": "absent", "minSupportVersion": ""},
           {"argumentName": "dir", "minSupportVersion": "2.0"}])");
  // No command line before: the first switch still begins with a blank; the value goes in unchanged.
  EXPECT_EQ(store.lookup(L"arguments"), L" /lang \"de-DE\" /dir \"C:\\Program Files\\\"Q\"\"");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments has invalid arguments."
            "ERROR:: additionalArguments has an invalid argument name.");
}

TEST_F(AddArgumentsTest, WithoutAChangeTheStoreIsLeftAsItWas) {
  // A command line given as text: had the action stored it, "arguments" would exist.
  AddArgumentsAction action;
  action.setField(kInput, L"arguments", L"/S");
  action.setField(kInput, L"additionalArguments", LR"([{"argumentName": "absent", "minSupportVersion": ""}])");
  action.setField(kInput, L"executableName", OwnName());
  action.setField(kInput, L"launchPath", OwnFolder());
  action.run(store, nullptr);
  EXPECT_EQ(store.lookupOr(L"arguments", L"<absent>"), L"<absent>");
}

TEST_F(AddArgumentsTest, NameOrMinimumThatIsMissingOrNotAStringEndsTheRun) {
  store.set(L"lang", L"de-DE");
  for (const wchar_t* element : {LR"({"minSupportVersion": ""})", LR"({"argumentName": 5, "minSupportVersion": ""})",
                                 LR"({"argumentName": "lang"})", LR"({"argumentName": "lang", "minSupportVersion": 2})",
                                 LR"({"argumentName": "", "minSupportVersion": null})"}) {
    EXPECT_THROW(run(L"[" + std::wstring(element) + L"]"), Json::LogicError) << element;
  }
  EXPECT_EQ(store.lookup(L"arguments"), L"");
}

TEST_F(AddArgumentsTest, NothingToEditOrNoInstallerVersionChangesNothing) {
  store.set(L"arguments", L"/S");
  store.set(L"lang", L"de-DE");
  const std::wstring switches = LR"([{"argumentName": "lang", "minSupportVersion": ""}])";
  TempFolder folder;
  std::ofstream((folder.path() + L"\\setup.exe").c_str()) << "no version record";

  run(L"");
  run(L"[{\"argumentName\": ");
  run(LR"({"argumentName": "lang"})");
  run(switches, folder.path() + L"\\", L"setup.exe");
  run(switches, folder.path() + L"\\", L"missing.exe");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments data is not a json."
            "ERROR:: additionalArguments data is not an array."
            "ERROR:: file version not available."
            "ERROR:: file version not available.");
}

TEST_F(AddArgumentsTest, MissingExecutableNameRaisesCode11) {
  try {
    run(L"", OwnFolder(), L"");
    FAIL() << "no error raised";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "11");
  }
}

TEST_F(RemoveArgumentsTest, EveryOccurrenceOfTheSwitchGoesAndItsValuesStay) {
  store.set(L"arguments", L"/S /lang \"en\" /lang \"de\" /langpack \"x\" /q");
  run(LR"(["lang", 7, "", "q"])");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S  \"en\"  \"de\" pack \"x\" ");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments has invalid arguments."
            "ERROR:: additionalArguments has an invalid argument.");
}

TEST_F(RemoveArgumentsTest, RunsOnlyWhenTheInstallerHasAVersion) {
  store.set(L"arguments", L"/S /lang \"en\"");
  TempFolder folder;
  run(LR"(["lang"])", folder.path() + L"\\", L"missing.exe");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S /lang \"en\"");
  run(LR"(["absent"])");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S /lang \"en\"");
  EXPECT_EQ(log.text(), "ERROR:: file version not available.");
}

}  // namespace
}  // namespace GenericStub
