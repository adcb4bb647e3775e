#include "proxy/EnvironmentFlag.h"

#include "proxy/AsciiCase.h"

namespace ORVK::ProxyManager {

bool ParseEnvironmentFlag(std::wstring_view value, bool defaultValue) {
  if (EqualsIgnoringAsciiCase(value, L"TRUE")) return true;
  if (EqualsIgnoringAsciiCase(value, L"FALSE")) return false;
  return defaultValue;
}

}  // namespace ORVK::ProxyManager
