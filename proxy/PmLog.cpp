#include "proxy/PmLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "proxy/EnvironmentFlag.h"

// msvcrt's own wide formatting: mingw's C99 printf would read "%s" as narrow.
extern "C" int __cdecl __ms_vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format,
                                        va_list args);

namespace ORVK::ProxyManager {
namespace {

constexpr size_t kMessageBuffer = 1024;

// Read once, before any caller can run.
const bool gDebugOutput = GetEnvironmentFlag(L"ORVK_ENABLE_DEBUG_STRING", false);

// OutputDebugString may change the last error; callers read it after logging.
class LastErrorKeeper {
 public:
  LastErrorKeeper() : error_(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(error_); }
  LastErrorKeeper(const LastErrorKeeper&) = delete;
  LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

 private:
  DWORD error_;
};

}  // namespace

void PmLog(int level, const wchar_t* format, ...) {
  if (!gDebugOutput || format == nullptr) return;
  LastErrorKeeper keeper;
  wchar_t message[kMessageBuffer] = {};
  va_list args;
  va_start(args, format);
  // A message that does not fit is cut: msvcrt then leaves the buffer unterminated.
  __ms_vsnwprintf(message, kMessageBuffer - 1, format, args);
  va_end(args);
  message[kMessageBuffer - 1] = L'\0';
  OutputDebugStringW(PmLogLine(level, std::wstring_view(message)).c_str());
}

void PmLog(int level, const char* format, ...) {
  if (!gDebugOutput || format == nullptr) return;
  LastErrorKeeper keeper;
  char message[kMessageBuffer] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, kMessageBuffer, format, args);
  va_end(args);
  OutputDebugStringA(PmLogLine(level, std::string_view(message)).c_str());
}

void LogApiFailure(const wchar_t* function) {
  const DWORD error = GetLastError();
  wchar_t text[kMessageBuffer] = {};
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, kMessageBuffer, nullptr);
  // System texts end with CR LF; the log line brings its own line end.
  std::wstring description(text, length < kMessageBuffer ? length : 0);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r' ||
                                  description.back() == L' ')) {
    description.pop_back();
  }
  PmLog(PM_LOG_ERROR, L"%s() API failed. Error:%lu Description:%s", function, error,
        description.c_str());
}

bool GetEnvironmentFlag(const wchar_t* name, bool defaultValue) {
  wchar_t value[kMessageBuffer] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, kMessageBuffer);
  if (length == 0 || length >= kMessageBuffer) return defaultValue;
  return ParseEnvironmentFlag(std::wstring_view(value, length), defaultValue);
}

void PmLogDebugOutput::write(int level, const std::wstring& message) {
  PmLog(level, L"%s", message.c_str());
}

}  // namespace ORVK::ProxyManager
