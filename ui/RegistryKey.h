#pragma once
// Owns an open registry key and reads its string values.

#include <windows.h>

#include <optional>
#include <string>

class RegistryKey {
 public:
  // Opens path under root for reading; check valid().
  RegistryKey(HKEY root, const std::wstring& path);
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool valid() const { return key_ != nullptr; }
  // The string value name (empty name: the key's default value); nothing when
  // it is missing, unreadable or not a string.
  std::optional<std::wstring> readString(const wchar_t* name) const;

 private:
  HKEY key_ = nullptr;
};
