#include "workflow/Workflow.h"

namespace GenericStub {

// The one list of the action classes that a workflow document can name. An
// "action" value that is not registered here is skipped without a log line.
void RegisterActions(Workflow& /*workflow*/) {}

}  // namespace GenericStub
