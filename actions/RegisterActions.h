#pragma once

#include "workflow/Workflow.h"

namespace GenericStub {

// Registers the product's action classes in workflow: the one list of the
// classes that a workflow document can name. An "action" value that is not
// registered is skipped without a log line. catalog/ActionClasses lists the
// same classes for stubpack, which checks documents against it (a unit test
// holds the two lists equal).
void RegisterActions(Workflow& workflow);

}  // namespace GenericStub
