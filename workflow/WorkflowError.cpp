#include "workflow/WorkflowError.h"

#include <stdexcept>
#include <string>

#include "base/ExecutionLog.h"

namespace GenericStub {

void RaiseWorkflowError(ErrorCode code) {
  throw std::logic_error(std::to_string(static_cast<int>(code)));
}

void LogErrorCode(ErrorCode code) {
  Base::LogError(L"Error occurred, error code = [%d].\n", static_cast<int>(code));
}

void LogAndRaiseWorkflowError(ErrorCode code) {
  LogErrorCode(code);
  RaiseWorkflowError(code);
}

}  // namespace GenericStub
