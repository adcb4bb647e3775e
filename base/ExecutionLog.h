#pragma once
// The execution log: one plain-text file in the user's temporary folder,
// "%temp%\Orvakel-TarnwickGUI-execution.log", appended to by every run. Each line
// is "<local time %Y-%m-%dT%H:%M:%S> <LEVEL>:: <message>"; the message's own
// "\n" ends the line, written as CR LF. Every line is flushed at once.
//
// Logging never fails the caller: when the file cannot be opened the log stays
// closed for the life of the process and every write does nothing.

#include <cstdarg>
#include <cstdio>
#include <string>

namespace Base {

class ExecutionLog {
 public:
  // Opens path for appending in text mode, shared with every other reader and writer.
  explicit ExecutionLog(const std::wstring& path);
  ~ExecutionLog();
  ExecutionLog(const ExecutionLog&) = delete;
  ExecutionLog& operator=(const ExecutionLog&) = delete;

  // The process-wide log, opened on first use (the first LogInfo or LogError)
  // and never closed: the worker thread may still write while the process exits.
  static ExecutionLog& Instance();
  static std::wstring DefaultPath();

  // format is a wide printf format with the C runtime's meaning: "%s" takes a
  // wide string. Returns false when the log has no file.
  bool write(const wchar_t* level, const wchar_t* format, va_list args);

 private:
  FILE* file_ = nullptr;
};

void LogInfo(const wchar_t* format, ...);
void LogError(const wchar_t* format, ...);

}  // namespace Base
