#include "actions/ProtocolCommand.h"

namespace GenericStub {

std::wstring FillProtocolCommand(const std::wstring& commandTemplate, const std::wstring& url) {
  static const std::wstring kPlace = L"%1";
  std::wstring command;
  std::wstring::size_type from = 0;
  for (auto at = commandTemplate.find(kPlace); at != std::wstring::npos; at = commandTemplate.find(kPlace, from)) {
    command.append(commandTemplate, from, at - from).append(url);
    from = at + kPlace.size();
  }
  return command.append(commandTemplate, from, std::wstring::npos);
}

bool IsPlainProtocolUrl(const std::wstring& url) {
  for (const wchar_t c : url) {
    if (c == L'"' || c == L' ' || c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::wstring ProgramOfCommandLine(const std::wstring& commandLine) {
  if (!commandLine.empty() && commandLine[0] == L'"') return commandLine.substr(1, commandLine.find(L'"', 1) - 1);
  return commandLine.substr(0, commandLine.find_first_of(L" \t"));
}

bool IsFullyQualifiedPath(const std::wstring& path) {
  const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const auto isLetter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
  const bool fromDrive = path.size() >= 3 && isLetter(path[0]) && path[1] == L':' && isSeparator(path[2]);
  const bool fromShare = path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
  return fromDrive || fromShare;
}

bool IsBareFileName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

}  // namespace GenericStub
