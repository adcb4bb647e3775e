#pragma once
// Base of the workflow's action classes. An action gets from the document its
// "provided" condition, its "in" fields and its "out" mapping; it reads inputs
// with getValue/getMandatoryValue, publishes results with publishOutput, and
// is told to begin and end around run().
//
// Field values and names follow one reference rule: a text that begins with
// "=" names a ValueStore entry. See getValue.
//
// A new action class derives from Action<Self> (below) and gives kClassName,
// the "action" name of the document; the class's printable type name in logs
// and callback messages is made from it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "workflow/CallbackHandler.h"
#include "workflow/ValueStore.h"

namespace GenericStub {

using FieldMap = std::map<std::wstring, std::wstring>;

enum FieldDirection { kInput = 0, kOutput = 1 };

class ActionBase {
 public:
  using Checker = bool (ActionBase::*)(const ValueStore&, const std::vector<std::wstring>&) const;

  // A new, empty object of the same class as this one (prototypes make the workflow's objects).
  virtual std::shared_ptr<ActionBase> createInstance() const = 0;
  // The action's work. handler may be null; failures raise a workflow error.
  virtual void run(ValueStore& store, CallbackHandler* handler) = 0;

  const std::wstring& className() const { return className_; }
  const std::wstring& printableTypeName() const { return printableTypeName_; }
  const FieldMap& inFields() const { return fields_[kInput]; }
  const FieldMap& outFields() const { return fields_[kOutput]; }
  const std::wstring& provided() const { return provided_; }

  void setProvided(const std::wstring& condition) { provided_ = condition; }
  void setField(FieldDirection direction, const std::wstring& name, const std::wstring& value);

  // Whether the action runs: an empty condition runs it; otherwise the condition
  // is "<checker>#<field or =store name>", parts split at "#".
  bool checkProvided(const ValueStore& store) const;

  // name: a field of this action, or "=" and a store name. When the value found
  // is itself "=" and a store name, that entry is the result. A missing or
  // empty entry gives fallback. At most two lookups: a result that begins with
  // "=" again is returned as it is.
  std::wstring getValue(const ValueStore& store, const std::wstring& name,
                        const std::wstring& fallback) const;
  // getValue with an empty fallback; an empty result logs and raises kMandatoryFieldEmpty.
  std::wstring getMandatoryValue(const ValueStore& store, const std::wstring& name) const;
  // Stores value under the store name that the "out" mapping gives for outputName
  // ("=" and the name); an unmapped output, or one mapped without "=", is dropped.
  void publishOutput(ValueStore& store, const std::wstring& outputName, const std::wstring& value) const;

  void notifyBegin(CallbackHandler* handler) const;
  void notifyEnd(CallbackHandler* handler) const;
  std::wstring makeCallbackMessage(const std::wstring& content) const;

 protected:
  explicit ActionBase(const wchar_t* className);
  ~ActionBase() = default;
  ActionBase(const ActionBase&) = default;
  ActionBase& operator=(const ActionBase&) = default;

 private:
  bool isExist(const ValueStore& store, const std::vector<std::wstring>& parts) const;
  bool isTrue(const ValueStore& store, const std::vector<std::wstring>& parts) const;
  bool isFalse(const ValueStore& store, const std::vector<std::wstring>& parts) const;
  bool isZeroOrNonExist(const ValueStore& store, const std::vector<std::wstring>& parts) const;

  std::wstring className_;
  std::wstring printableTypeName_;
  FieldMap fields_[2];
  std::map<std::wstring, Checker> checkers_;
  std::wstring provided_;
};

// Gives an action class its name and its createInstance. Objects are always
// owned through shared_ptr, which destroys them as their own class.
template <class Self>
class Action : public ActionBase {
 public:
  std::shared_ptr<ActionBase> createInstance() const override { return std::make_shared<Self>(); }

 protected:
  Action() : ActionBase(Self::kClassName) {}
};

}  // namespace GenericStub
