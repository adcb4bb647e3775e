#include "workflow/MetadataDocument.h"

#include <memory>

#include "base/AnsiText.h"
#include "base/ExecutionLog.h"
#include "workflow/JsonText.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {

using Base::AnsiToWide;
using Base::LogError;

namespace {

void SetFields(ActionBase& action, FieldDirection direction, const Json::Value& members) {
  for (auto member = members.begin(); member != members.end(); ++member) {
    action.setField(direction, AnsiToWide(member.name()), StringValue(*member));
  }
}

}  // namespace

ValueMap ParseMetadata(const std::wstring& metadata, Workflow& workflow) {
  const std::optional<Json::Value> document = ParseJsonText(metadata);
  if (!document) LogAndRaiseWorkflowError(ErrorCode::kMetadataNotJson);
  const Json::Value& root = *document;

  ValueMap values;
  // A root that is not an object has no named members: it yields no actions
  // and no values, and fails below for want of "productLang".
  if (root.isObject()) {
    for (auto member = root.begin(); member != root.end(); ++member) {
      if (member.name() == "workflow") {
        LoadActions(*member, workflow);
      } else if (member->isString()) {
        values[AnsiToWide(member.name())] = AnsiToWide(member->asString());
      }
    }
  }

  if (values.count(L"productLang") == 0) LogAndRaiseWorkflowError(ErrorCode::kProductLangMissing);
  if (values.count(L"requestType") == 0) LogAndRaiseWorkflowError(ErrorCode::kRequestTypeMissing);
  return values;
}

void LoadActions(const Json::Value& actions, Workflow& workflow) {
  if (!actions.isArray()) {
    LogError(L"Workflow data is not an array.");
    RaiseWorkflowError(ErrorCode::kWorkflowMalformed);
  }
  for (const Json::Value& element : actions) AddAction(element, workflow);
}

void AddAction(const Json::Value& element, Workflow& workflow) {
  if (!element.isObject() || !element.isMember("action")) {
    LogError(L"Workflow::Actions::Action is not an object.");
    RaiseWorkflowError(ErrorCode::kWorkflowMalformed);
  }
  const std::shared_ptr<ActionBase> prototype = workflow.prototype(StringValue(element["action"]));
  if (!prototype) return;

  const std::shared_ptr<ActionBase> action = prototype->createInstance();
  if (element["provided"].isString()) action->setProvided(StringValue(element["provided"]));
  if (element["in"].isObject()) SetFields(*action, kInput, element["in"]);
  if (element["out"].isObject()) SetFields(*action, kOutput, element["out"]);
  workflow.actions().push_back(action);
}

}  // namespace GenericStub
