#include "actions/RegisterActions.h"

#include "actions/AddArgumentsAction.h"
#include "actions/ExecutableVerifierAction.h"
#include "actions/LaunchProtocolHandlerAction.h"
#include "actions/PackageDownloadAction.h"
#include "actions/PackageExtractionAction.h"
#include "actions/ProtocolHandlerDetectionAction.h"
#include "actions/RemoveArgumentsAction.h"
#include "actions/ReplaceFileAction.h"
#include "actions/RunExecutableAction.h"
#include "actions/XmlParseAction.h"

namespace GenericStub {

void RegisterActions(Workflow& workflow) {
  workflow.registerAction<ProtocolHandlerDetectionAction>();
  workflow.registerAction<ExecutableVerifierAction>();
  workflow.registerAction<PackageDownloadAction>();
  workflow.registerAction<AddArgumentsAction>();
  workflow.registerAction<RemoveArgumentsAction>();
  workflow.registerAction<RunExecutableAction>();
  workflow.registerAction<PackageExtractionAction>();
  workflow.registerAction<ReplaceFileAction>();
  workflow.registerAction<LaunchProtocolHandlerAction>();
  workflow.registerAction<XmlParseAction>();
}

}  // namespace GenericStub
