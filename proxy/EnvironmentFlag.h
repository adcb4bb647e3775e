#pragma once
// The text rule of the proxy manager's environment switches.

#include <string_view>

namespace ORVK::ProxyManager {

// "TRUE" and "FALSE" in any mix of ASCII letter case give true and false;
// an empty value or any other text gives defaultValue.
bool ParseEnvironmentFlag(std::wstring_view value, bool defaultValue);

}  // namespace ORVK::ProxyManager
