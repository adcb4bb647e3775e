#pragma once
// The process's workflow: the registry of supported action classes (one
// prototype per "action" name, in name order) and the actions made from the
// document, in document order. The list is filled once and kept until exit.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "workflow/ActionBase.h"

namespace GenericStub {

using ActionList = std::vector<std::shared_ptr<ActionBase>>;
using ActionRegistry = std::map<std::wstring, std::shared_ptr<ActionBase>>;

class Workflow {
 public:
  // The process's workflow, its registry filled with every supported class.
  static Workflow& Instance();

  // A workflow whose registry holds every supported class (RegisterActions).
  Workflow();

  template <class ActionClass>
  void registerAction() {
    registry_[ActionClass::kClassName] = std::make_shared<ActionClass>();
  }

  // The prototype registered under the exact, case-sensitive name, or null.
  std::shared_ptr<ActionBase> prototype(const std::wstring& className) const;
  const ActionRegistry& registry() const { return registry_; }

  ActionList& actions() { return actions_; }

 private:
  // Member order matters: the actions are destroyed before the prototypes.
  ActionRegistry registry_;
  ActionList actions_;
};

// Registers the product's action classes (the one list of them lives with the actions).
void RegisterActions(Workflow& workflow);

}  // namespace GenericStub
