#include "tools/stubpack/ActionCheck.h"

#include <algorithm>

#include "catalog/ActionClasses.h"
#include "catalog/CheckerNames.h"
#include "catalog/DocumentKeys.h"
#include "catalog/ErrorCodes.h"
#include "tools/stubpack/CatalogText.h"

namespace {

using Catalog::kAction;
using Catalog::kIn;
using Catalog::kOut;
using Catalog::kProvided;

// How a finding ends when the run stops for an empty mandatory field.
const std::string kStopsEmpty = " (the run stops with " + CodeText(Catalog::ErrorCode::kMandatoryFieldEmpty) + ")";

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> ClassNames() {
  std::vector<std::string> names;
  for (const Catalog::ActionClass& actionClass : Catalog::ActionClasses()) names.push_back(Narrow(actionClass.name));
  return names;
}

std::vector<std::string> CheckerNames() {
  std::vector<std::string> names;
  for (const wchar_t* name : Catalog::kCheckerNames) names.push_back(Narrow(name));
  return names;
}

std::string JoinQuoted(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + Quoted(name);
  return text;
}

class ActionChecker {
 public:
  ActionChecker(const Json::Value& element, int index, const ValueSources& sources, std::vector<Finding>& findings)
      : element_(element), index_(index), sources_(sources), findings_(findings) {}

  void check() {
    if (!element_.isObject() || !element_.isMember(kAction.text)) {
      report(Severity::kError, "not an object with an " + Quoted(kAction.text) +
                                   "; the stub refuses the whole workflow (" +
                                   CodeText(Catalog::ErrorCode::kWorkflowMalformed) + ")");
      return;
    }
    if (!element_[kAction.text].isString()) {
      report(Severity::kError, Quoted(kAction.text) + " is not a string; the run ends when the stub reads it");
      return;
    }
    name_ = element_[kAction.text].asString();
    actionClass_ = Catalog::FindActionClass(Widen(name_));
    if (actionClass_ == nullptr) {
      report(Severity::kError, "unknown action class " + Quoted(name_) + CaseHint(name_, ClassNames()) +
                                   "; the stub skips it");
    }
    const std::string conditionField = checkCondition();
    if (actionClass_ == nullptr) return;
    checkInputs(conditionField);
    checkOutputs();
  }

 private:
  void report(Severity severity, const std::string& message) {
    findings_.push_back(ActionFinding(severity, message, index_, name_));
  }

  // The "in" field that the condition tests, if it names one.
  std::string checkCondition() {
    if (!element_.isMember(kProvided.text)) return {};
    const Json::Value& provided = element_[kProvided.text];
    if (!provided.isString()) {
      report(Severity::kError,
             Quoted(kProvided.text) + " is not a string; the stub ignores it and always runs the action");
      return {};
    }
    const std::string condition = provided.asString();
    if (condition.empty()) return {};
    const std::vector<std::string> parts = SplitPieces(condition, Narrow(Catalog::kConditionSeparator));
    const std::string checker = parts.empty() ? std::string() : parts.front();
    if (!Contains(CheckerNames(), checker)) {
      report(Severity::kError, Quoted(kProvided.text) + " names no checker: " + Quoted(checker) +
                                   CaseHint(checker, CheckerNames()) + " is not one of " + JoinQuoted(CheckerNames()) +
                                   "; the stub skips the action");
      return {};
    }
    if (parts.size() < 2) {
      report(Severity::kError, Quoted(kProvided.text) + " " + Quoted(condition) +
                                   " names no value to test after \"#\"; the action never runs");
      return {};
    }
    if (parts.size() > 2) {
      report(Severity::kWarning, Quoted(kProvided.text) + " " + Quoted(condition) + ": the parts after " +
                                     Quoted(parts[1]) + " are ignored");
    }
    const std::string& tested = parts[1];
    if (tested[0] == '=') {
      checkReference(Quoted(kProvided.text), tested.substr(1), false);
      return {};
    }
    const Json::Value& in = element_[kIn.text];
    if (!in.isObject() || !in.isMember(tested)) {
      report(Severity::kWarning, Quoted(kProvided.text) + " tests the " + Quoted(kIn.text) + " field " +
                                     Quoted(tested) + ", which the action does not have; it is always empty");
    }
    return tested;
  }

  void checkInputs(const std::string& conditionField) {
    const std::vector<std::string> mandatory = Narrow(actionClass_->mandatoryInputs);
    std::vector<std::string> known = Narrow(actionClass_->optionalInputs);
    known.insert(known.end(), mandatory.begin(), mandatory.end());
    const Json::Value& in = element_[kIn.text];
    if (element_.isMember(kIn.text) && !in.isObject()) {
      report(Severity::kError, Quoted(kIn.text) + " is not an object; the stub ignores it");
    }
    for (const std::string& field : mandatory) {
      if (!in.isObject() || !in.isMember(field)) {
        report(Severity::kError, "missing mandatory " + Quoted(kIn.text) + " field " + Quoted(field) + kStopsEmpty);
      }
    }
    if (!in.isObject()) return;

    for (const std::string& field : in.getMemberNames()) {
      const Json::Value& value = in[field];
      if (!value.isString()) {
        report(Severity::kError,
               Quoted(kIn.text) + " field " + Quoted(field) + " is not a string; the run ends when the stub reads it");
        continue;
      }
      const bool isMandatory = Contains(mandatory, field);
      if (!isMandatory && !Contains(known, field) && field != conditionField) {
        report(Severity::kWarning,
               Quoted(kIn.text) + " field " + Quoted(field) + CaseHint(field, known) + " is not read by " + name_);
        continue;
      }
      const std::string text = value.asString();
      const std::string what = Quoted(kIn.text) + " field " + Quoted(field);
      if (!text.empty() && text[0] == '=') {
        checkReference(what, text.substr(1), isMandatory);
      } else if (text.empty() && isMandatory) {
        report(Severity::kError, "mandatory " + what + " is empty" + kStopsEmpty);
      }
    }
  }

  // name: the store name that what refers to with "=name".
  void checkReference(const std::string& what, const std::string& name, bool mandatory) {
    const std::string reference = Quoted("=" + name);
    const auto documentValue = sources_.documentValues.find(name);
    if (documentValue != sources_.documentValues.end()) {
      if (mandatory && documentValue->second.empty()) {
        report(Severity::kError,
               "mandatory " + what + " refers to " + reference + ", which the document holds empty" + kStopsEmpty);
      }
      return;
    }
    // The argument actions read the command line they maintain themselves; before the first edit it is empty.
    if (actionClass_ != nullptr && Contains(Narrow(actionClass_->storeWrites), name)) return;
    const auto publishers = sources_.publishers.find(name);
    if (publishers != sources_.publishers.end()) {
      const int first = *publishers->second.begin();
      if (first < index_) return;
      const std::string by = first == index_ ? "this action itself" : "action " + std::to_string(first);
      report(Severity::kError, what + " refers to " + reference + ", which only " + by +
                                   " publishes, after this action reads it");
      return;
    }
    report(Severity::kError, what + " refers to " + reference + ", which is neither a value of the document nor an " +
                                 Quoted(kOut.text) + " of an earlier action");
  }

  void checkOutputs() {
    if (!element_.isMember(kOut.text)) return;
    const Json::Value& out = element_[kOut.text];
    if (!out.isObject()) {
      report(Severity::kError, Quoted(kOut.text) + " is not an object; the stub ignores it");
      return;
    }
    const std::vector<std::string> outputs = Narrow(actionClass_->outputs);
    for (const std::string& output : out.getMemberNames()) {
      const Json::Value& value = out[output];
      const std::string what = Quoted(kOut.text) + " " + Quoted(output);
      if (!value.isString()) {
        report(Severity::kError, what + " is not a string; the run ends when the stub reads it");
      } else if (!Contains(outputs, output)) {
        const std::string listed = outputs.empty() ? ", which publishes nothing" : " (" + JoinQuoted(outputs) + ")";
        report(Severity::kError, what + CaseHint(output, outputs) + " is not an output of " + name_ + listed);
      } else if (value.asString().size() < 2 || value.asString()[0] != '=') {
        report(Severity::kError, what + " maps to " + Quoted(value.asString()) +
                                     ", not to \"=\" and a name; the output is dropped");
      }
    }
  }

  const Json::Value& element_;
  const int index_;
  const ValueSources& sources_;
  std::vector<Finding>& findings_;
  std::string name_;
  const Catalog::ActionClass* actionClass_ = nullptr;
};

}  // namespace

std::vector<std::string> PublishedNames(const Json::Value& element) {
  if (!element.isObject() || !element[kAction.text].isString()) return {};
  const Catalog::ActionClass* actionClass = Catalog::FindActionClass(Widen(element[kAction.text].asString()));
  if (actionClass == nullptr) return {};
  std::vector<std::string> names = Narrow(actionClass->storeWrites);
  const Json::Value& out = element[kOut.text];
  if (!out.isObject()) return names;
  for (const std::string& output : out.getMemberNames()) {
    const Json::Value& value = out[output];
    if (!value.isString() || !Contains(Narrow(actionClass->outputs), output)) continue;
    const std::string mapped = value.asString();
    if (mapped.size() >= 2 && mapped[0] == '=') names.push_back(mapped.substr(1));
  }
  return names;
}

void CheckAction(const Json::Value& element, int index, const ValueSources& sources, std::vector<Finding>& findings) {
  ActionChecker(element, index, sources, findings).check();
}
