// The fuzz build runs natively, where base/'s Win32 parts do not exist. Text
// conversion maps each byte to the character of the same value (no parser
// depends on the code page's rules), and the execution log is not kept: the
// log's wide formats mean other things to the C library here.
#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace Base {

std::wstring AnsiToWide(std::string_view text) {
  std::wstring wide;
  for (const char c : text) {
    if (c == '\0') break;
    wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  return wide;
}

std::string WideToAnsi(std::wstring_view text) {
  std::string narrow;
  for (const wchar_t c : text) narrow += c >= 0 && c <= 0xFF ? static_cast<char>(c) : '?';
  return narrow;
}

void LogInfo(const wchar_t*, ...) {}
void LogError(const wchar_t*, ...) {}

}  // namespace Base
