#pragma once
// What the stand-in programs share: how they were started, written as one
// record file per start ("record-<n>.txt", numbered from 1, one value per line,
// UTF-8) in a folder that the tests name through an environment variable.

#include <windows.h>
#include <shlwapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/ProgramFile.h"
#include "base/Utf8Text.h"

namespace StandIn {

// The command line after the program's name, as the program received it; the
// blanks after the name are dropped (all of them, or the first one only).
inline std::wstring ParameterText(bool dropAllBlanks) {
  const wchar_t* line = PathGetArgsW(GetCommandLineW());
  while (dropAllBlanks && (*line == L' ' || *line == L'\t')) ++line;
  return line;
}

inline std::wstring Variable(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? value : L"";
}

// Writes lines as the next free record of folder. False when it cannot.
inline bool WriteRecord(const std::wstring& folder, const std::vector<std::wstring>& lines) {
  std::string content;
  for (const std::wstring& line : lines) content += Base::WideToUtf8Lenient(line) + "\n";
  for (int n = 1; n < 1000; ++n) {
    const std::wstring path = folder + L"\\record-" + std::to_wstring(n) + L".txt";
    const Base::UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() == ERROR_FILE_EXISTS) continue;
    DWORD written = 0;
    return file && WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  }
  return false;
}

}  // namespace StandIn
