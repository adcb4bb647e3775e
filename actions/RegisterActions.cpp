#include "actions/RegisterActions.h"

#include "actions/ExecutableVerifierAction.h"
#include "actions/PackageExtractionAction.h"
#include "actions/RunExecutableAction.h"

namespace GenericStub {

void RegisterActions(Workflow& workflow) {
  workflow.registerAction<ExecutableVerifierAction>();
  workflow.registerAction<RunExecutableAction>();
  workflow.registerAction<PackageExtractionAction>();
}

}  // namespace GenericStub
