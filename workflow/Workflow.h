#pragma once
// The workflow of a run: the registry of supported action classes (one
// prototype per "action" name, in name order) and the actions made from the
// document, in document order. Start-up makes it and registers the classes
// (RegisterActions); the list is filled once and kept until exit.

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

}  // namespace GenericStub
