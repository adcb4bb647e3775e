#include "actions/LaunchRules.h"

#include <cwchar>

#include "actions/RelativeNames.h"

namespace GenericStub {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\x", "C:x", "\x", "\\server\x": anything that does not begin in the current folder.
bool IsRelative(const std::wstring& path) {
  if (path.empty()) return true;
  if (IsSeparator(path[0])) return false;
  return !(path.size() >= 2 && path[1] == L':');
}

}  // namespace

long DecimalSetting(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

std::wstring LaunchParameters(const std::wstring& arguments, const std::wstring& quiet) {
  return DecimalSetting(quiet) != 0 ? arguments + L" -quiet" : arguments;
}

std::wstring LaunchFile(const std::wstring& executableName, const std::wstring& launchPath,
                        const std::wstring& programFolder) {
  if (launchPath.empty() && !IsRelative(executableName)) return executableName;
  if (!RelativeNameRefusal(executableName).empty()) return {};
  const std::wstring& folder = launchPath.empty() ? programFolder : launchPath;
  if (folder.empty()) return {};
  return PathBelow(IsSeparator(folder.back()) ? folder : folder + L"\\", executableName);
}

}  // namespace GenericStub
