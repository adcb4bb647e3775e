#pragma once
// Levels and line layout of the proxy manager's debug log, and the sink
// through which its pure parts (list parsing) write to it.

#include <string>
#include <string_view>

namespace ORVK::ProxyManager {

enum PmLogLevel : int {
  PM_LOG_TRACE = 0,
  PM_LOG_DEBUG = 1,
  PM_LOG_INFO = 2,
  PM_LOG_ERROR = 3,
  PM_LOG_FATAL = 4,
};

// "[DEBUG]" and so on; any unknown level is "[INFO]".
const wchar_t* PmLogTag(int level);

// "Orvakel   OrvkProxyManager   <tag>   <message>\n"
std::wstring PmLogLine(int level, std::wstring_view message);
std::string PmLogLine(int level, std::string_view message);

class PmLogSink {
 public:
  virtual ~PmLogSink() = default;
  virtual void write(int level, const std::wstring& message) = 0;
};

}  // namespace ORVK::ProxyManager
