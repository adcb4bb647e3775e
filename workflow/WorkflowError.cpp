#include "workflow/WorkflowError.h"

#include <stdexcept>

#include "base/ExecutionLog.h"

namespace GenericStub {

void RaiseWorkflowError(Catalog::ErrorCode code) {
  throw std::logic_error(Catalog::ErrorCodeText(code));
}

void LogErrorCode(Catalog::ErrorCode code) {
  Base::LogError(L"Error occurred, error code = [%d].\n", Catalog::ErrorCodeNumber(code));
}

void LogAndRaiseWorkflowError(Catalog::ErrorCode code) {
  LogErrorCode(code);
  RaiseWorkflowError(code);
}

}  // namespace GenericStub
