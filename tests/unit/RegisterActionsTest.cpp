#include "actions/RegisterActions.h"

#include <gtest/gtest.h>

namespace GenericStub {
namespace {

TEST(RegisterActionsTest, EachNameMakesFreshObjectsOfItsOwnClass) {
  Workflow workflow;
  RegisterActions(workflow);
  for (const wchar_t* name : {L"AddArgumentsAction", L"LaunchProtocolHandlerAction", L"ProtocolHandlerDetectionAction",
                              L"RemoveArgumentsAction", L"XmlParseAction"}) {
    const auto prototype = workflow.prototype(name);
    ASSERT_NE(prototype, nullptr) << name;
    const auto first = prototype->createInstance();
    first->setField(kInput, L"name", L"value");
    const auto second = prototype->createInstance();
    EXPECT_EQ(second->className(), name);
    EXPECT_EQ(second->printableTypeName(), L"class GenericStub::" + std::wstring(name));
    EXPECT_TRUE(second->inFields().empty()) << name;
  }
}

}  // namespace
}  // namespace GenericStub
