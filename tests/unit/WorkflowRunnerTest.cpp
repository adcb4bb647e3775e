#include "workflow/WorkflowRunner.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "LogCapture.h"
#include "TestActions.h"
#include "workflow/MetadataDocument.h"

namespace GenericStub {
namespace {

class WorkflowRunnerTest : public ::testing::Test {
 protected:
  WorkflowRunnerTest() {
    workflow.registerAction<RecordingAction>();
    workflow.registerAction<MandatoryUrlAction>();
    ActionJournal().clear();
  }

  void Load(const std::wstring& actions) {
    store.replaceAll(ParseMetadata(
        L"{\"productLang\": \"en-US\", \"requestType\": \"/x\", \"flag\": \"1\", \"workflow\": " + actions + L"}",
        workflow));
  }

  Workflow workflow;
  ValueStore store;
  RecordingHandler handler;
};

// A skipped action writes only its condition line.
TEST_F(WorkflowRunnerTest, ActionsRunInOrderBetweenBeginAndEndUnlessTheirConditionSkipsThem) {
  Load(LR"([{"action": "RecordingAction", "in": {"label": "one"}},
            {"action": "RecordingAction", "provided": "_isFalse#=flag", "in": {"label": "skipped"}},
            {"action": "RecordingAction", "provided": "_isTrue#=flag", "in": {"label": "two"}}])");
  LogCapture log;
  RunActions(workflow.actions(), store, &handler);

  EXPECT_EQ(ActionJournal(), (std::vector<std::wstring>{L"one ran", L"two ran"}));
  const std::wstring begin = L"{\"className\":\"class GenericStub::RecordingAction\",\"content\":\"BEGIN\"}";
  const std::wstring end = L"{\"className\":\"class GenericStub::RecordingAction\",\"content\":\"END\"}";
  EXPECT_EQ(handler.messages, (std::vector<std::wstring>{begin, end, begin, end}));
  EXPECT_EQ(log.text(),
            "INFO:: Provided = [].\n"
            "INFO:: Begin to run class [class GenericStub::RecordingAction].\n"
            "INFO:: End of running class [class GenericStub::RecordingAction].\n"
            "INFO:: Provided = [_isFalse#=flag].\n"
            "INFO:: Provided = [_isTrue#=flag].\n"
            "INFO:: Begin to run class [class GenericStub::RecordingAction].\n"
            "INFO:: End of running class [class GenericStub::RecordingAction].\n");
}

// Published values reach later actions on the road (the download's file name
// goes to the verifier and the extraction); a later value replaces an earlier
// one in the store (the field test of ActionBaseTest).
TEST_F(WorkflowRunnerTest, FailureStopsTheRunWithoutAnEndMessage) {
  Load(LR"([{"action": "RecordingAction", "in": {"label": "before", "result": "kept"}, "out": {"result": "=early"}},
            {"action": "MandatoryUrlAction"},
            {"action": "RecordingAction", "in": {"label": "after"}}])");
  LogCapture log;
  try {
    RunActions(workflow.actions(), store, &handler);
    FAIL() << "the run did not fail";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "11");
  }

  EXPECT_EQ(ActionJournal(), std::vector<std::wstring>{L"before ran"});
  ASSERT_EQ(handler.messages.size(), 3u);
  EXPECT_EQ(handler.messages.back(),
            L"{\"className\":\"class GenericStub::MandatoryUrlAction\",\"content\":\"BEGIN\"}");
  EXPECT_EQ(store.lookup(L"early"), L"kept");
  const std::string text = log.text();
  EXPECT_NE(text.find("INFO:: Begin to run class [class GenericStub::MandatoryUrlAction].\n"
                      "ERROR:: Field [url] of [class GenericStub::MandatoryUrlAction] is mandatory.\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("End of running class [class GenericStub::MandatoryUrlAction]"), std::string::npos);
}

}  // namespace
}  // namespace GenericStub
