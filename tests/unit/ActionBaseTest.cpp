#include "workflow/ActionBase.h"

#include <gtest/gtest.h>

#include <stdexcept>
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

TEST_F(ActionBaseTest, LaterSetFieldOfTheSameNameOverwrites) {
  action.setField(kInput, L"url", L"first");
  action.setField(kInput, L"url", L"second");
  EXPECT_EQ(action.getValue(store, L"url", L""), L"second");
  EXPECT_EQ(action.inFields().size(), 1u);
  EXPECT_TRUE(action.outFields().empty());
}

TEST_F(ActionBaseTest, EmptyMandatoryFieldLogsAndRaisesCode11) {
  action.setField(kInput, L"url", L"=missing");
  LogCapture log;
  try {
    action.getMandatoryValue(store, L"url");
    FAIL() << "no error raised";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "11");
  }
  EXPECT_EQ(log.text(), "ERROR:: Field [url] of [class GenericStub::RecordingAction] is mandatory.\n");

  store.set(L"missing", L"https://localhost/p.rar");
  EXPECT_EQ(action.getMandatoryValue(store, L"url"), L"https://localhost/p.rar");
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

struct ConditionCase {
  const wchar_t* condition;
  const wchar_t* flag;  // null: no entry in the store
  bool runs;
};

class ConditionTest : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionTest, DecidesWhetherTheActionRuns) {
  const ConditionCase& c = GetParam();
  RecordingAction action;
  ValueStore store;
  action.setProvided(c.condition);
  if (c.flag != nullptr) store.set(L"flag", c.flag);
  LogCapture log;
  EXPECT_EQ(action.checkProvided(store), c.runs);
  EXPECT_EQ(log.text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Checkers, ConditionTest,
    ::testing::Values(
        ConditionCase{L"", nullptr, true},
        ConditionCase{L"_isTrue#=flag", L"1", true},
        ConditionCase{L"_isTrue#=flag", L" -3", true},
        ConditionCase{L"_isTrue#=flag", L"12abc", true},
        ConditionCase{L"_isTrue#=flag", L"0", false},
        ConditionCase{L"_isTrue#=flag", L"", false},
        ConditionCase{L"_isTrue#=flag", L"yes", false},
        ConditionCase{L"_isTrue#=flag", nullptr, false},
        ConditionCase{L"_isFalse#=flag", L"0", true},
        ConditionCase{L"_isFalse#=flag", L"+0", true},
        ConditionCase{L"_isFalse#=flag", L"no", true},
        ConditionCase{L"_isFalse#=flag", L"", false},
        ConditionCase{L"_isFalse#=flag", nullptr, false},
        ConditionCase{L"_isFalse#=flag", L"1", false},
        ConditionCase{L"_isZeroOrNonExist#=flag", nullptr, true},
        ConditionCase{L"_isZeroOrNonExist#=flag", L"", true},
        ConditionCase{L"_isZeroOrNonExist#=flag", L"0", true},
        ConditionCase{L"_isZeroOrNonExist#=flag", L"2", false},
        ConditionCase{L"_isZeroOrNonExist#=flag", L"-1", false},
        ConditionCase{L"_isExist#=flag", L"0", true},
        ConditionCase{L"_isExist#=flag", L"", false},
        ConditionCase{L"_isExist#=flag", nullptr, false},
        ConditionCase{L"_isTrue##=flag", L"1", true},         // empty parts are dropped
        ConditionCase{L"#_isTrue#=flag#", L"1", true},
        ConditionCase{L"_isTrue#=flag#=other", L"1", true},   // parts after the second are ignored
        ConditionCase{L"_isExist", L"1", false},              // no second part: skipped, no log line
        ConditionCase{L"_isZeroOrNonExist", nullptr, false}));

TEST(ConditionFieldTest, SecondPartMayNameAFieldOfTheAction) {
  RecordingAction action;
  ValueStore store;
  action.setField(kInput, L"silent", L"=quiet");
  action.setProvided(L"_isTrue#silent");
  store.set(L"quiet", L"1");
  EXPECT_TRUE(action.checkProvided(store));
  store.set(L"quiet", L"0");
  EXPECT_FALSE(action.checkProvided(store));
}

TEST(ConditionFieldTest, UnknownCheckerIsLoggedAndSkipsTheAction) {
  RecordingAction action;
  ValueStore store;
  store.set(L"flag", L"1");
  LogCapture log;

  action.setProvided(L"_IsTrue#=flag");
  EXPECT_FALSE(action.checkProvided(store));
  action.setProvided(L"##");
  EXPECT_FALSE(action.checkProvided(store));

  EXPECT_EQ(log.text(),
            "ERROR:: No selected checker [_IsTrue].\n"
            "ERROR:: No selected checker [].\n");
}

// --- callback messages --------------------------------------------------------

TEST(CallbackMessageTest, BeginAndEndAreLoggedAndSentToTheHandler) {
  RecordingAction action;
  RecordingHandler handler;
  LogCapture log;

  action.notifyBegin(&handler);
  action.notifyEnd(&handler);

  ASSERT_EQ(handler.messages.size(), 2u);
  EXPECT_EQ(handler.messages[0], L"{\"className\":\"class GenericStub::RecordingAction\",\"content\":\"BEGIN\"}");
  EXPECT_EQ(handler.messages[1], L"{\"className\":\"class GenericStub::RecordingAction\",\"content\":\"END\"}");
  EXPECT_EQ(log.text(),
            "INFO:: Begin to run class [class GenericStub::RecordingAction].\n"
            "INFO:: End of running class [class GenericStub::RecordingAction].\n");
  // Without a handler only the log lines are written.
  action.notifyBegin(nullptr);
  action.notifyEnd(nullptr);
  EXPECT_EQ(handler.messages.size(), 2u);
  EXPECT_EQ(log.text(),
            "INFO:: Begin to run class [class GenericStub::RecordingAction].\n"
            "INFO:: End of running class [class GenericStub::RecordingAction].\n"
            "INFO:: Begin to run class [class GenericStub::RecordingAction].\n"
            "INFO:: End of running class [class GenericStub::RecordingAction].\n");
}

TEST(CallbackMessageTest, ContentIsInsertedAsAJsonValue) {
  EXPECT_EQ(MakeCallbackMessage(PrintableTypeName(L"CDownloader"), L"{\"progress\":\"37.25\"}"),
            L"{\"className\":\"class GenericStub::CDownloader\",\"content\":{\"progress\":\"37.25\"}}");
}

// --- objects made from a prototype ---------------------------------------------

TEST(CreateInstanceTest, GivesAnEmptyObjectOfTheSameClass) {
  RecordingAction prototype;
  prototype.setField(kInput, L"label", L"set on the prototype");
  prototype.setProvided(L"_isExist#label");

  const std::shared_ptr<ActionBase> made = prototype.createInstance();
  ASSERT_NE(std::dynamic_pointer_cast<RecordingAction>(made), nullptr);
  EXPECT_NE(made.get(), &prototype);
  EXPECT_TRUE(made->inFields().empty());
  EXPECT_TRUE(made->provided().empty());
  EXPECT_EQ(made->printableTypeName(), L"class GenericStub::RecordingAction");
}

}  // namespace
}  // namespace GenericStub
