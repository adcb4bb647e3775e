#include "actions/RegisterActions.h"

namespace GenericStub {

void RegisterActions(Workflow& /*workflow*/) {}

}  // namespace GenericStub
