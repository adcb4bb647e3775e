#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Publishes "isInstalled": "1" when the URL protocol "name" has a key under
// the classes root that opens for reading, "0" otherwise. The key's contents
// (its command) are not looked at.
class ProtocolHandlerDetectionAction : public Action<ProtocolHandlerDetectionAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kProtocolHandlerDetectionAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
