#include "proxy/EnvironmentFlag.h"

#include "base/AsciiCase.h"

namespace ORVK::ProxyManager {

bool ParseEnvironmentFlag(std::wstring_view value, bool defaultValue) {
  if (Base::EqualsIgnoringAsciiCase(value, L"TRUE")) return true;
  if (Base::EqualsIgnoringAsciiCase(value, L"FALSE")) return false;
  return defaultValue;
}

}  // namespace ORVK::ProxyManager
