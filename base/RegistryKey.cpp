#include "base/RegistryKey.h"

#include <vector>

namespace Base {

RegistryKey::RegistryKey(HKEY root, const std::wstring& path) {
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key_.receive()) != ERROR_SUCCESS) key_.release();
}

std::optional<std::wstring> RegistryKey::readString(const wchar_t* name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  // Room for a terminating zero that the stored value may lack.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD read = size;
  if (RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(buffer.data(), read / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

}  // namespace Base
