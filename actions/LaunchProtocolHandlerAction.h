#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Starts the handler of the URL protocol "name" with "downloadUrl": the
// protocol's registered open command with the URL in place of "%1". Does not
// wait for the handler. A handler registered by file name alone is started
// from the system folders or PATH, never from this program's own or the
// current folder. A protocol without a command, or a handler that does not
// start, is logged and the workflow goes on.
class LaunchProtocolHandlerAction : public Action<LaunchProtocolHandlerAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kLaunchProtocolHandlerAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
