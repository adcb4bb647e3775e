#include "base/ExecutionLog.h"

#include <windows.h>

#include <share.h>

#include <ctime>

#include "base/AnsiText.h"

// The messages are wide formats in which "%s" takes a wide string. That is the
// meaning of msvcrt's own wide printf; mingw's C99 printf (which libstdc++
// switches on) would read "%s" as a narrow string, so call msvcrt's directly.
extern "C" {
int __cdecl __ms_fwprintf(FILE* file, const wchar_t* format, ...);
int __cdecl __ms_vfwprintf(FILE* file, const wchar_t* format, va_list args);
}

namespace Base {

ExecutionLog::ExecutionLog(const std::wstring& path) {
  if (!path.empty()) file_ = _wfsopen(path.c_str(), L"at", _SH_DENYNO);
}

ExecutionLog::~ExecutionLog() {
  if (file_ != nullptr) fclose(file_);
}

std::wstring ExecutionLog::DefaultPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length =
      ExpandEnvironmentStringsW(L"%temp%\\Orvakel-TarnwickGUI-execution.log", path, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return path;
}

ExecutionLog& ExecutionLog::Instance() {
  // Deliberately never destroyed: a static object would be closed by the exit
  // code of the main thread while a detached worker can still be writing.
  static ExecutionLog* const log = new ExecutionLog(DefaultPath());
  return *log;
}

bool ExecutionLog::write(const wchar_t* level, const wchar_t* format, va_list args) {
  if (file_ == nullptr) return false;
  char timestamp[64] = {};
  const time_t now = time(nullptr);
  if (const tm* local = localtime(&now)) strftime(timestamp, sizeof timestamp, "%Y-%m-%dT%H:%M:%S", local);
  const std::wstring prefix = AnsiToWide(timestamp) + L" " + level + L":: ";
  // One lock for the whole line: each call below locks the stream only for
  // itself, and another thread's line could otherwise land between them.
  _lock_file(file_);
  __ms_fwprintf(file_, L"%s", prefix.c_str());
  __ms_vfwprintf(file_, format, args);
  fflush(file_);
  _unlock_file(file_);
  return true;
}

void LogInfo(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  ExecutionLog::Instance().write(L"INFO", format, args);
  va_end(args);
}

void LogError(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  ExecutionLog::Instance().write(L"ERROR", format, args);
  va_end(args);
}

}  // namespace Base
