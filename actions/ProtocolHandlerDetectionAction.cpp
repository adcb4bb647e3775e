#include "actions/ProtocolHandlerDetectionAction.h"

#include <windows.h>

#include "base/ExecutionLog.h"
#include "base/RegistryKey.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

void ProtocolHandlerDetectionAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring name = getMandatoryValue(store, Catalog::kName);
  Base::LogInfo(L"ProtocolHandlerDetectionAction::isProtocolHandlerInstalled protocol string [%s].\n", name.c_str());
  const bool installed = Base::RegistryKey(HKEY_CLASSES_ROOT, name).valid();
  publishOutput(store, Catalog::kIsInstalled, installed ? L"1" : L"0");
}

}  // namespace GenericStub
