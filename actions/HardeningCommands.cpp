#include "actions/HardeningCommands.h"

namespace GenericStub {

std::wstring QuoteArgument(const std::wstring& text) {
  std::wstring quoted = L"\"";
  std::wstring::size_type backslashes = 0;
  for (const wchar_t c : text) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only before a quote.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

std::vector<std::wstring> HardeningCommandLines(const std::wstring& icaclsPath, const std::wstring& folder) {
  const std::wstring program = QuoteArgument(icaclsPath);
  const std::wstring target = QuoteArgument(folder);
  return {program + L" " + target + L" /inheritance:d",
          program + L" " + target + L" /remove:g *S-1-5-11 /T"};
}

}  // namespace GenericStub
