#include "workflow/ActionBase.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "LogCapture.h"
#include "TestActions.h"

namespace GenericStub {
namespace {

class ActionBaseTest : public ::testing::Test {
 protected:
  RecordingAction action;
  ValueStore store;
};

// --- reading fields and references ----------------------------------------

// A field holds a literal or "=name" of the store, followed once; a name that
// begins with "=" reads the store directly; missing or empty gives the default.
TEST_F(ActionBaseTest, FieldsAndReferencesAreReadOnceWithTheDefaultForNothing) {
  action.setField(kInput, L"literal", L"setup.exe");
  action.setField(kInput, L"reference", L"=downloadedFilename");
  action.setField(kInput, L"arguments", L"field value");
  action.setField(kInput, L"toMissing", L"=absent");
  action.setField(kInput, L"toEmpty", L"=empty");
  action.setField(kInput, L"blank", L"");
  action.setField(kInput, L"a", L"=b");
  store.set(L"downloadedFilename", L"package.rar");
  store.set(L"arguments", L"/quiet");
  store.set(L"empty", L"");
  store.set(L"b", L"=c");
  store.set(L"c", L"7");
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"literal", L"setup.exe"}, {L"reference", L"package.rar"}, {L"=arguments", L"/quiet"},
      {L"noSuchField", L"default"}, {L"toMissing", L"default"},    {L"toEmpty", L"default"},
      {L"=absent", L"default"},     {L"=empty", L"default"},       {L"blank", L""},
      {L"a", L"=c"},  // field a -> store b -> "=c": the second lookup's result is final
      {L"=b", L"7"},  // a direct store name: b holds "=c", so c is read
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(action.getValue(store, name, L"default"), expected) << name;
  }
  store.set(L"c", L"");
  EXPECT_EQ(action.getValue(store, L"=b", L"default"), L"default");
}

// --- publishing outputs ----------------------------------------------------

TEST_F(ActionBaseTest, OutputGoesToTheStoreNameOfItsMapping) {
  action.setField(kOutput, L"downloadedFilename", L"=package");
  action.setField(kOutput, L"unmarked", L"plainName");

  action.publishOutput(store, L"downloadedFilename", L"p.rar");
  action.publishOutput(store, L"unmarked", L"lost");
  action.publishOutput(store, L"unmapped", L"lost too");

  EXPECT_EQ(store.lookup(L"package"), L"p.rar");
  EXPECT_EQ(store.lookup(L"plainName"), L"");
  EXPECT_EQ(store.lookup(L"unmapped"), L"");
  EXPECT_EQ(store.lookup(L"unmarked"), L"");
}

// --- run conditions ---------------------------------------------------------

// A checker reads its second part like a field: "=name" of the store or a field
// of the action. Numbers are read the way the C runtime reads them. Deciding
// writes no log line, but an unknown checker is logged and skips the action. A
// missing entry and an empty one read alike (see the field test above), so
// each checker shows one of them.
TEST(ConditionTest, DecidesWhetherTheActionRuns) {
  const struct {
    const wchar_t* condition;
    const wchar_t* flag;  // null: no entry in the store
    bool runs;
    std::string log;
  } cases[] = {
      {L"", nullptr, true, ""},
      {L"_isTrue#=flag", L"1", true, ""},
      {L"_isTrue#=flag", L" -3", true, ""},
      {L"_isTrue#=flag", L"12abc", true, ""},
      {L"_isTrue#=flag", L"0", false, ""},
      {L"_isTrue#=flag", L"", false, ""},
      {L"_isTrue#=flag", L"yes", false, ""},
      {L"_isTrue#silent", L"1", true, ""},  // the action's field "silent" refers to the flag
      {L"_isTrue#silent", L"0", false, ""},
      {L"_isFalse#=flag", L"0", true, ""},
      {L"_isFalse#=flag", L"no", true, ""},
      {L"_isFalse#=flag", L"", false, ""},
      {L"_isFalse#=flag", L"1", false, ""},
      {L"_isZeroOrNonExist#=flag", nullptr, true, ""},
      {L"_isZeroOrNonExist#=flag", L"0", true, ""},
      {L"_isZeroOrNonExist#=flag", L"2", false, ""},
      {L"_isExist#=flag", L"0", true, ""},
      {L"_isExist#=flag", L"", false, ""},
      {L"_isTrue##=flag", L"1", true, ""},        // empty parts are dropped
      {L"_isTrue#=flag#=other", L"1", true, ""},  // parts after the second are ignored
      {L"_isExist", L"1", false, ""},             // no second part: skipped
      {L"_isZeroOrNonExist", nullptr, false, ""},
      {L"_IsTrue#=flag", L"1", false, "ERROR:: No selected checker [_IsTrue].\n"},
      {L"##", L"1", false, "ERROR:: No selected checker [].\n"},
  };
  for (const auto& c : cases) {
    RecordingAction action;
    ValueStore store;
    action.setField(kInput, L"silent", L"=flag");
    action.setProvided(c.condition);
    if (c.flag != nullptr) store.set(L"flag", c.flag);
    LogCapture log;
    EXPECT_EQ(action.checkProvided(store), c.runs) << c.condition << " with " << (c.flag ? c.flag : L"no flag");
    EXPECT_EQ(log.text(), c.log) << c.condition;
  }
}

}  // namespace
}  // namespace GenericStub
