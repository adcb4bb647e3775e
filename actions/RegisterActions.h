#pragma once

#include "workflow/Workflow.h"

namespace GenericStub {

// Registers the product's action classes in workflow: the one list of the
// classes that a workflow document can name. An "action" value that is not
// registered is skipped without a log line.
void RegisterActions(Workflow& workflow);

}  // namespace GenericStub
