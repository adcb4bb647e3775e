#include "proxy/PmLogLine.h"

namespace ORVK::ProxyManager {

const wchar_t* PmLogTag(int level) {
  switch (level) {
    case PM_LOG_TRACE: return L"[TRACE]";
    case PM_LOG_DEBUG: return L"[DEBUG]";
    case PM_LOG_ERROR: return L"[ERROR]";
    case PM_LOG_FATAL: return L"[FATAL]";
    default: return L"[INFO]";
  }
}

std::wstring PmLogLine(int level, std::wstring_view message) {
  std::wstring line = L"Orvakel   OrvkProxyManager   ";
  line += PmLogTag(level);
  line += L"   ";
  line += message;
  line += L'\n';
  return line;
}

std::string PmLogLine(int level, std::string_view message) {
  std::string line = "Orvakel   OrvkProxyManager   ";
  for (const wchar_t* tag = PmLogTag(level); *tag != L'\0'; ++tag) line += static_cast<char>(*tag);
  line += "   ";
  line += message;
  line += '\n';
  return line;
}

}  // namespace ORVK::ProxyManager
