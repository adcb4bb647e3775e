#include "actions/AddArgumentsAction.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>
#include <string>

#include "ArgumentActionFixture.h"
#include "TempFolder.h"

namespace GenericStub {
namespace {

using AddArgumentsTest = ArgumentActionTest<AddArgumentsAction>;

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

}  // namespace
}  // namespace GenericStub
