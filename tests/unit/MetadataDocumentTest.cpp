#include "workflow/MetadataDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "LogCapture.h"
#include "TestActions.h"
#include "base/ExecutionLog.h"

using namespace Base;

namespace GenericStub {
namespace {

class MetadataDocumentTest : public ::testing::Test {
 protected:
  MetadataDocumentTest() {
    workflow.registerAction<RecordingAction>();
    workflow.registerAction<MandatoryUrlAction>();
  }

  // The decimal code of the logic error that parsing raised, or "" when none.
  std::string ErrorCodeOf(const std::wstring& document) {
    try {
      ParseMetadata(document, workflow);
    } catch (const std::logic_error& error) {
      return error.what();
    }
    return "";
  }

  Workflow workflow;
};

TEST_F(MetadataDocumentTest, StringMembersOfTheRootBecomeTheValues) {
  const ValueMap values = ParseMetadata(LR"({
      // comments are allowed
      "productLang": "de-DE", "requestType": "", "directUrl": "https://localhost/p.rar",
      "retries": 3, "nested": {"workflow": "ignored", "inner": "x"}, "flags": ["a"], "none": null })",
                                        workflow);
  const ValueMap expected{{L"directUrl", L"https://localhost/p.rar"},
                          {L"productLang", L"de-DE"},
                          {L"requestType", L""}};
  EXPECT_EQ(values, expected);
  EXPECT_TRUE(workflow.actions().empty());
}

TEST_F(MetadataDocumentTest, ActionsKeepDocumentOrderWithTheirConditionAndFields) {
  ParseMetadata(LR"({"productLang": "en-US", "requestType": "/x", "workflow": [
      {"action": "RecordingAction", "provided": "_isTrue#=flag",
       "in": {"label": "first", "result": "=downloaded"}, "out": {"result": "=package"}, "extra": 1},
      {"action": "MandatoryUrlAction", "provided": 5, "in": "not an object", "out": []}]})",
                workflow);

  ASSERT_EQ(workflow.actions().size(), 2u);
  const ActionBase& first = *workflow.actions()[0];
  EXPECT_EQ(first.className(), L"RecordingAction");
  EXPECT_EQ(first.provided(), L"_isTrue#=flag");
  EXPECT_EQ(first.inFields(), (FieldMap{{L"label", L"first"}, {L"result", L"=downloaded"}}));
  EXPECT_EQ(first.outFields(), (FieldMap{{L"result", L"=package"}}));

  const ActionBase& second = *workflow.actions()[1];
  EXPECT_EQ(second.className(), L"MandatoryUrlAction");
  EXPECT_EQ(second.provided(), L"");
  EXPECT_TRUE(second.inFields().empty());
  EXPECT_TRUE(second.outFields().empty());
}

TEST_F(MetadataDocumentTest, UnregisteredClassNamesAreDroppedWithoutALogLine) {
  LogCapture log;
  ParseMetadata(LR"({"productLang": "en-US", "requestType": "/x", "workflow": [
      {"action": "recordingAction"}, {"action": "GenericStub::RecordingAction"},
      {"action": "NewerAction", "in": {"a": "b"}}, {"action": "RecordingAction"}]})",
                workflow);
  ASSERT_EQ(workflow.actions().size(), 1u);
  EXPECT_EQ(workflow.actions()[0]->className(), L"RecordingAction");
  EXPECT_EQ(log.text(), "");
}

// productLang is checked before requestType; the structure ("workflow" is walked
// with the members) before both. The structure's lines have no line end.
// JsonCpp's reader throws its runtime error beyond 1000 levels of nesting,
// which used to escape the parser and end the run with the generic code 12.
TEST_F(MetadataDocumentTest, BadDocumentsRaiseTheirCodeWithTheirLogLine) {
  const std::string coded = "ERROR:: Error occurred, error code = [";
  const std::string notArray = "ERROR:: Workflow data is not an array.";
  const std::string notObject = "ERROR:: Workflow::Actions::Action is not an object.";
  const std::wstring deep = LR"({"productLang": "en-US", "requestType": "/x", "deep": )";
  const struct {
    std::wstring document;
    std::string code, line;
  } cases[] = {
      {L"{\"productLang\": \"en-US\",", "3", coded + "3].\n"},
      {deep + std::wstring(1001, L'[') + std::wstring(1001, L']') + L"}", "3", coded + "3].\n"},
      {deep + std::wstring(999, L'[') + std::wstring(999, L']') + L"}", "", ""},  // as deep as the reader goes
      {LR"({"requestType": "/x"})", "4", coded + "4].\n"},
      {LR"({"productLang": 1033, "requestType": "/x"})", "4", coded + "4].\n"},
      {LR"(["productLang", "requestType"])", "4", coded + "4].\n"},
      {LR"({"productLang": "en-US", "requestType": ["x"]})", "13", coded + "13].\n"},
      {LR"({"productLang": "en-US", "requestType": "/x", "workflow": {}})", "10", notArray},
      {LR"({"productLang": "en-US", "workflow": 1})", "10", notArray},
      {LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": "RecordingAction"}, "RecordingAction"]})",
       "10", notObject},
      {LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": "RecordingAction"}, {"in": {}}]})", "10",
       notObject},
  };
  for (const auto& c : cases) {
    LogCapture log;
    EXPECT_EQ(ErrorCodeOf(c.document), c.code) << c.document.substr(0, 100);
    LogInfo(L"next\n");
    EXPECT_EQ(log.text(), c.line + "INFO:: next\n") << c.document.substr(0, 100);
  }
}

TEST_F(MetadataDocumentTest, NonStringWhereAStringIsReadRaisesTheJsonLogicError) {
  for (const wchar_t* document :
       {LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": 7}]})",
        LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": null}]})",
        LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": "RecordingAction", "in": {"a": 1}}]})",
        LR"({"productLang": "en-US", "requestType": "/x", "workflow": [{"action": "RecordingAction", "out": {"a": true}}]})"}) {
    EXPECT_THROW(ParseMetadata(document, workflow), Json::LogicError) << document;
  }
}

}  // namespace
}  // namespace GenericStub
