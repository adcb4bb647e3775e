#include "ui/BrowserCommand.h"

namespace Ui {

std::wstring BrowserExecutableFromCommand(std::wstring_view command) {
  if (!command.empty() && command.front() == L'"') {
    const std::size_t closing = command.find(L'"', 1);
    return std::wstring(command.substr(1, closing == std::wstring_view::npos ? std::wstring_view::npos : closing - 1));
  }
  const std::size_t backslash = command.rfind(L'\\');
  if (backslash != std::wstring_view::npos) {
    const std::size_t space = command.find(L' ', backslash);
    if (space != std::wstring_view::npos) return std::wstring(command.substr(0, space));
  }
  return std::wstring(command);
}

}  // namespace Ui
