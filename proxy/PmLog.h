#pragma once
// The proxy manager's own diagnostic log: lines to the debugger output of the
// process (OutputDebugString), written only when the environment variable
// "ORVK_ENABLE_DEBUG_STRING" held "TRUE" (any letter case) at process start.
// It is separate from the execution log and never reports its own failures.

#include "proxy/PmLogLine.h"

namespace ORVK::ProxyManager {

// format is a printf format as msvcrt reads it: in the wide form "%s" takes a
// wide string. Messages longer than 1023 characters are cut. Both keep the
// thread's last error code.
void PmLog(int level, const wchar_t* format, ...);
void PmLog(int level, const char* format, ...);

// Writes the ERROR line "<function>() API failed. Error:<code> Description:<text>"
// for the thread's last error code.
void LogApiFailure(const wchar_t* function);

// Reads an environment variable with the rule of ParseEnvironmentFlag; unset,
// empty or longer than 1023 characters gives defaultValue.
bool GetEnvironmentFlag(const wchar_t* name, bool defaultValue);

// Hands the list parser's lines to PmLog.
class PmLogDebugOutput : public PmLogSink {
 public:
  void write(int level, const std::wstring& message) override;
};

}  // namespace ORVK::ProxyManager
