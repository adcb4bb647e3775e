// Stands in for a product installer: records how it was started and exits
// with the code it is told. The record goes to the folder named by
// TARNWICK_INSTALLER_RECORDS, "record-<n>.txt", in UTF-8: the program's own
// path, its parameter text (the command line without the program) and its
// current folder, one per line. TARNWICK_INSTALLER_EXIT gives the exit code
// (decimal or 0x hexadecimal; 0 when absent).

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring ParameterText() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  // One blank separates the program from its parameters; whatever follows is theirs.
  if (*line == L' ' || *line == L'\t') ++line;
  return line;
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(value);
}

void Record() {
  const std::wstring folder = Variable(L"TARNWICK_INSTALLER_RECORDS");
  if (folder.empty()) return;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::string content = Utf8(self) + "\n" + Utf8(ParameterText()) + "\n" + Utf8(current) + "\n";
  for (int n = 1; n < 1000; ++n) {
    const std::wstring path = folder + L"\\record-" + std::to_wstring(n) + L".txt";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return;
    }
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return;
  }
}

}  // namespace

int wmain() {
  Record();
  ExitProcess(static_cast<UINT>(std::wcstoul(Variable(L"TARNWICK_INSTALLER_EXIT").c_str(), nullptr, 0)));
}
