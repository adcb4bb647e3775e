// The two _com_util string helpers that <comutil.h> declares and mingw-w64 does
// not implement; UnRAR's isnt.cpp uses them through _bstr_t.
#include <windows.h>
#include <comutil.h>

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* source) {
  if (source == nullptr) return nullptr;
  const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
  if (length <= 0) return nullptr;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (result != nullptr) MultiByteToWideChar(CP_ACP, 0, source, -1, result, length);
  return result;
}

char* WINAPI ConvertBSTRToString(BSTR source) {
  if (source == nullptr) return nullptr;
  const int length = WideCharToMultiByte(CP_ACP, 0, source, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return nullptr;
  char* result = new char[static_cast<size_t>(length)];
  WideCharToMultiByte(CP_ACP, 0, source, -1, result, length, nullptr, nullptr);
  return result;
}

}  // namespace _com_util
