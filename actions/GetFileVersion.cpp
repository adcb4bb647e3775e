#include "actions/GetFileVersion.h"

#include <windows.h>

#include <vector>

namespace GenericStub {

std::wstring GetFileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> data(size, 0);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};

  void* record = nullptr;
  UINT length = 0;
  // The record comes from the file: it must be whole before its fields are read.
  if (!VerQueryValueW(data.data(), L"\\", &record, &length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(record);
  if (info->dwSignature != 0xFEEF04BD) return {};
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

}  // namespace GenericStub
