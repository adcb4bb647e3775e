#include "workflow/WorkflowRunner.h"

#include "base/ExecutionLog.h"

namespace GenericStub {

void RunActions(const ActionList& actions, ValueStore& store, CallbackHandler* handler) {
  for (const auto& action : actions) {
    Base::LogInfo(L"Provided = [%s].\n", action->provided().c_str());
    if (!action->checkProvided(store)) continue;
    action->notifyBegin(handler);
    action->run(store, handler);
    action->notifyEnd(handler);
  }
}

}  // namespace GenericStub
