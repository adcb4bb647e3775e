// Stands in for the user's web browser: records how it was started, one file
// per start, in the folder named by TARNWICK_BROWSER_RECORDS: "record-<n>.txt"
// with the program's own path on the first line and its parameter text (the
// command line without the program) on the second, in UTF-8.

#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The command line after the program's name, as the program received it.
std::wstring ParameterText() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TARNWICK_BROWSER_RECORDS", folder, MAX_PATH) == 0) return 3;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string content = Utf8(self) + "\n" + Utf8(ParameterText()) + "\n";

  for (int n = 1; n < 1000; ++n) {
    const std::wstring path = std::wstring(folder) + L"\\record-" + std::to_wstring(n) + L".txt";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return 4;
    }
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
  }
  return 5;
}
