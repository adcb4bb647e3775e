#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Removes every switch "/<name>" of the names in "additionalArguments" (a JSON
// array of strings) from the installer's command line (RemoveSwitch): values
// after a switch stay; a longer switch name that begins with it and text in
// quotes are left alone. Runs only when the installer's file version can be read.
// The result goes to the store's "arguments".
class RemoveArgumentsAction : public Action<RemoveArgumentsAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kRemoveArgumentsAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
