#pragma once

#include "workflow/CallbackHandler.h"
#include "workflow/ValueStore.h"
#include "workflow/Workflow.h"

namespace GenericStub {

// Runs the actions in order: each whose condition holds gets BEGIN, run and
// END. Nothing is caught: a failing action stops the run there, without its
// END message. handler may be null.
void RunActions(const ActionList& actions, ValueStore& store, CallbackHandler* handler);

}  // namespace GenericStub
