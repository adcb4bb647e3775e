#pragma once
// The program's error codes: what a failed run logs ("error code = [<code>]"),
// what the worker's top shows, and what stubpack names when it predicts a
// failed run. Values are part of the log format: never renumber or reuse one
// (5 and 6 are unused).

#include <string>

namespace Catalog {

enum class ErrorCode : int {
  kSignatureInvalid = 1,
  kMetadataEmpty = 2,
  kMetadataNotJson = 3,
  kProductLangMissing = 4,
  kDownloadConnect = 7,
  kDownloadRequest = 8,    // the window offers the browser download (or says the download was blocked)
  kExecutableRejected = 9, // the window says the launch was blocked
  kWorkflowMalformed = 10,
  kMandatoryFieldEmpty = 11,
  kExtractionFailed = 12,  // no private folder to unpack into, a refused archive, or UnRAR gave up
  kRequestTypeMissing = 13,
  // Any failure that is not a workflow error (the unpacking library's own
  // failure types, a runtime or allocation error) shows as 12: the unpacking
  // library is what throws them in practice, and the window and the log format
  // know no other code for them.
  kUnexpectedFailure = kExtractionFailed,
};

constexpr int ErrorCodeNumber(ErrorCode code) { return static_cast<int>(code); }

// The decimal text of code, as a workflow failure carries it.
inline std::string ErrorCodeText(ErrorCode code) { return std::to_string(ErrorCodeNumber(code)); }
inline std::wstring ErrorCodeWideText(ErrorCode code) { return std::to_wstring(ErrorCodeNumber(code)); }

}  // namespace Catalog
