#include "workflow/ActionBase.h"

#include <cwchar>

#include "base/ExecutionLog.h"
#include "base/SplitString.h"
#include "catalog/CheckerNames.h"
#include "workflow/CallbackMessage.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {
using Base::LogError;
using Base::LogInfo;

namespace {

// Decimal value the way the C runtime reads it: leading blanks, a sign, digits up to the first non-digit.
long DecimalValue(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

bool IsReference(const std::wstring& text) { return !text.empty() && text[0] == L'='; }

}  // namespace

ActionBase::ActionBase(const wchar_t* className)
    : className_(className),
      printableTypeName_(PrintableTypeName(className)),
      checkers_{{Catalog::kIsExist, &ActionBase::isExist},
                {Catalog::kIsTrue, &ActionBase::isTrue},
                {Catalog::kIsFalse, &ActionBase::isFalse},
                {Catalog::kIsZeroOrNonExist, &ActionBase::isZeroOrNonExist}} {}

void ActionBase::setField(FieldDirection direction, const std::wstring& name, const std::wstring& value) {
  fields_[direction][name] = value;
}

bool ActionBase::checkProvided(const ValueStore& store) const {
  if (provided_.empty()) return true;
  const std::vector<std::wstring> parts = Base::SplitString(provided_, Catalog::kConditionSeparator);
  // A condition of "#" alone has no checker name; it is refused like an unknown one.
  const std::wstring checkerName = parts.empty() ? std::wstring() : parts.front();
  const auto checker = checkers_.find(checkerName);
  if (checker == checkers_.end()) {
    LogError(L"No selected checker [%s].\n", checkerName.c_str());
    return false;
  }
  return (this->*checker->second)(store, parts);
}

std::wstring ActionBase::getValue(const ValueStore& store, const std::wstring& name,
                                  const std::wstring& fallback) const {
  std::wstring value;
  if (IsReference(name)) {
    value = store.lookupOr(name.substr(1), fallback);
  } else {
    const auto field = inFields().find(name);
    value = field == inFields().end() ? fallback : field->second;
  }
  return IsReference(value) ? store.lookupOr(value.substr(1), fallback) : value;
}

std::wstring ActionBase::getMandatoryValue(const ValueStore& store, const std::wstring& name) const {
  std::wstring value = getValue(store, name, std::wstring());
  if (value.empty()) {
    LogError(L"Field [%s] of [%s] is mandatory.\n", name.c_str(), printableTypeName_.c_str());
    RaiseWorkflowError(Catalog::ErrorCode::kMandatoryFieldEmpty);
  }
  return value;
}

void ActionBase::publishOutput(ValueStore& store, const std::wstring& outputName,
                               const std::wstring& value) const {
  const auto mapping = outFields().find(outputName);
  if (mapping != outFields().end() && IsReference(mapping->second)) {
    store.set(mapping->second.substr(1), value);
  }
}

void ActionBase::notifyBegin(CallbackHandler* handler) const {
  LogInfo(L"Begin to run class [%s].\n", printableTypeName_.c_str());
  if (handler != nullptr) handler->callback(makeCallbackMessage(L"\"BEGIN\""));
}

void ActionBase::notifyEnd(CallbackHandler* handler) const {
  LogInfo(L"End of running class [%s].\n", printableTypeName_.c_str());
  if (handler != nullptr) handler->callback(makeCallbackMessage(L"\"END\""));
}

std::wstring ActionBase::makeCallbackMessage(const std::wstring& content) const {
  return MakeCallbackMessage(printableTypeName_, content);
}

bool ActionBase::isExist(const ValueStore& store, const std::vector<std::wstring>& parts) const {
  if (parts.size() < 2) return false;
  return !getValue(store, parts[1], std::wstring()).empty();
}

bool ActionBase::isTrue(const ValueStore& store, const std::vector<std::wstring>& parts) const {
  if (parts.size() < 2) return false;
  const std::wstring value = getValue(store, parts[1], std::wstring());
  return !value.empty() && DecimalValue(value) != 0;
}

bool ActionBase::isFalse(const ValueStore& store, const std::vector<std::wstring>& parts) const {
  if (parts.size() < 2) return false;
  const std::wstring value = getValue(store, parts[1], std::wstring());
  return !value.empty() && DecimalValue(value) == 0;
}

bool ActionBase::isZeroOrNonExist(const ValueStore& store, const std::vector<std::wstring>& parts) const {
  if (parts.size() < 2) return false;
  const std::wstring value = getValue(store, parts[1], std::wstring());
  return value.empty() || DecimalValue(value) == 0;
}

}  // namespace GenericStub
