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

}  // namespace GenericStub
