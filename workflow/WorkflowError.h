#pragma once
// The program's error codes. A workflow failure writes its ERROR log line and
// then raises a std::logic_error whose message is the decimal code; the worker
// thread's top turns that message into what the window shows. Values are part
// of the log format: never renumber or reuse one (5 and 6 are unused).

namespace GenericStub {

enum class ErrorCode : int {
  kSignatureInvalid = 1,
  kMetadataEmpty = 2,
  kMetadataNotJson = 3,
  kProductLangMissing = 4,
  kDownloadConnect = 7,
  kDownloadRequest = 8,
  kExecutableRejected = 9,
  kWorkflowMalformed = 10,
  kMandatoryFieldEmpty = 11,
  kExtractionFailed = 12,  // UnRAR gave up: a failed write, exhausted memory
  kRequestTypeMissing = 13,
};

// Throws std::logic_error("<code>"). Callers log first.
[[noreturn]] void RaiseWorkflowError(ErrorCode code);

// Writes the ERROR line "Error occurred, error code = [<code>].\n".
void LogErrorCode(ErrorCode code);

// LogErrorCode, then RaiseWorkflowError.
[[noreturn]] void LogAndRaiseWorkflowError(ErrorCode code);

}  // namespace GenericStub
