#include "workflow/MetadataDocument.h"

#include <memory>

#include "base/AnsiText.h"
#include "base/ExecutionLog.h"
#include "catalog/DocumentKeys.h"
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
  if (!document) LogAndRaiseWorkflowError(Catalog::ErrorCode::kMetadataNotJson);
  const Json::Value& root = *document;

  ValueMap values;
  // A root that is not an object has no named members: it yields no actions
  // and no values, and fails below for want of "productLang".
  if (root.isObject()) {
    for (auto member = root.begin(); member != root.end(); ++member) {
      if (member.name() == Catalog::kWorkflow.text) {
        LoadActions(*member, workflow);
      } else if (member->isString()) {
        values[AnsiToWide(member.name())] = AnsiToWide(member->asString());
      }
    }
  }

  if (values.count(Catalog::kProductLang.wide) == 0) LogAndRaiseWorkflowError(Catalog::ErrorCode::kProductLangMissing);
  if (values.count(Catalog::kRequestType.wide) == 0) LogAndRaiseWorkflowError(Catalog::ErrorCode::kRequestTypeMissing);
  return values;
}

void LoadActions(const Json::Value& actions, Workflow& workflow) {
  if (!actions.isArray()) {
    LogError(L"Workflow data is not an array.");
    RaiseWorkflowError(Catalog::ErrorCode::kWorkflowMalformed);
  }
  for (const Json::Value& element : actions) AddAction(element, workflow);
}

void AddAction(const Json::Value& element, Workflow& workflow) {
  if (!element.isObject() || !element.isMember(Catalog::kAction.text)) {
    LogError(L"Workflow::Actions::Action is not an object.");
    RaiseWorkflowError(Catalog::ErrorCode::kWorkflowMalformed);
  }
  const std::shared_ptr<ActionBase> prototype = workflow.prototype(StringValue(element[Catalog::kAction.text]));
  if (!prototype) return;

  const std::shared_ptr<ActionBase> action = prototype->createInstance();
  if (element[Catalog::kProvided.text].isString()) action->setProvided(StringValue(element[Catalog::kProvided.text]));
  if (element[Catalog::kIn.text].isObject()) SetFields(*action, kInput, element[Catalog::kIn.text]);
  if (element[Catalog::kOut.text].isObject()) SetFields(*action, kOutput, element[Catalog::kOut.text]);
  workflow.actions().push_back(action);
}

}  // namespace GenericStub
