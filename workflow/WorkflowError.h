#pragma once
// A workflow failure writes its ERROR log line and then raises a
// std::logic_error whose message is the decimal code (catalog/ErrorCodes.h);
// the worker thread's top turns that message into what the window shows.

#include "catalog/ErrorCodes.h"

namespace GenericStub {

// Throws std::logic_error("<code>"). Callers log first.
[[noreturn]] void RaiseWorkflowError(Catalog::ErrorCode code);

// Writes the ERROR line "Error occurred, error code = [<code>].\n".
void LogErrorCode(Catalog::ErrorCode code);

// LogErrorCode, then RaiseWorkflowError.
[[noreturn]] void LogAndRaiseWorkflowError(Catalog::ErrorCode code);

}  // namespace GenericStub
