#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Appends ' /<name> "<value>"' (value quoted by QuoteArgument) to the
// installer's command line for each switch
// of "additionalArguments" ([{"argumentName", "minSupportVersion"}, ...])
// whose minimum the installer's file version meets and whose name has a value
// in the store. The result goes to the store's "arguments". A switch whose
// name or minimum is missing or not a string raises Json::LogicError.
class AddArgumentsAction : public Action<AddArgumentsAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kAddArgumentsAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
