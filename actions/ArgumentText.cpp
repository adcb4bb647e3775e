#include "actions/ArgumentText.h"

namespace GenericStub {

std::wstring RemoveSwitch(const std::wstring& commandLine, const std::wstring& name) {
  const std::wstring piece = L"/" + name;
  const auto isBlank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  const auto endsName = [&isBlank](wchar_t c) { return isBlank(c) || c == L'"' || c == L':' || c == L'='; };
  std::wstring result;
  bool inQuotes = false;
  std::wstring::size_type backslashes = 0;
  for (std::wstring::size_type at = 0; at < commandLine.size();) {
    const wchar_t c = commandLine[at];
    if (!inQuotes && c == L'/' && (at == 0 || isBlank(commandLine[at - 1])) &&
        commandLine.compare(at, piece.size(), piece) == 0) {
      const std::wstring::size_type after = at + piece.size();
      if (after == commandLine.size() || endsName(commandLine[after])) {
        at = after;
        backslashes = 0;
        continue;
      }
    }
    // A quote after an odd number of backslashes is a literal one.
    if (c == L'"' && backslashes % 2 == 0) inQuotes = !inQuotes;
    backslashes = c == L'\\' ? backslashes + 1 : 0;
    result += c;
    ++at;
  }
  return result;
}

}  // namespace GenericStub
