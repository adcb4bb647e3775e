#include "actions/RegisterActions.h"

#include "actions/AddArgumentsAction.h"
#include "actions/LaunchProtocolHandlerAction.h"
#include "actions/ProtocolHandlerDetectionAction.h"
#include "actions/RemoveArgumentsAction.h"
#include "actions/XmlParseAction.h"

namespace GenericStub {

void RegisterActions(Workflow& workflow) {
  workflow.registerAction<ProtocolHandlerDetectionAction>();
  workflow.registerAction<AddArgumentsAction>();
  workflow.registerAction<RemoveArgumentsAction>();
  workflow.registerAction<LaunchProtocolHandlerAction>();
  workflow.registerAction<XmlParseAction>();
}

}  // namespace GenericStub
