#pragma once
// An open registry key, read-only, and its string values.

#include <windows.h>

#include <optional>
#include <string>

#include "base/Handles.h"

namespace Base {

class RegistryKey {
 public:
  // Opens path under root for reading; check valid().
  RegistryKey(HKEY root, const std::wstring& path);

  bool valid() const { return key_.valid(); }
  // The string value name (empty name: the key's default value); nothing when
  // it is missing, unreadable or not a string.
  std::optional<std::wstring> readString(const wchar_t* name) const;

 private:
  UniqueRegistryKey key_;
};

}  // namespace Base
