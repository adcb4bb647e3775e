#include "ui/BrowserLaunch.h"

#include <windows.h>

#include <shellapi.h>

#include "base/AnsiText.h"
#include "base/RegistryKey.h"
#include "catalog/PartUrls.h"
#include "download/SignDownloadUrl.h"
#include "ui/BrowserCommand.h"

namespace Ui {

using Base::RegistryKey;

namespace {

bool ShellAccepted(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

std::wstring OpenCommandOf(const std::wstring& classKey) {
  RegistryKey command(HKEY_CLASSES_ROOT, classKey + L"\\shell\\open\\command");
  return command.readString(nullptr).value_or(std::wstring());
}

}  // namespace

std::vector<std::string> SplitPartUrls(const std::string& url) {
  std::vector<std::string> urls = Catalog::ExpandPartUrls(url);
  for (std::string& part : urls) part = GenericStub::SignDownloadUrl(part);
  return urls;
}

std::wstring DefaultHttpsBrowserCommand() {
  RegistryKey userChoice(HKEY_CURRENT_USER,
                         L"SOFTWARE\\Microsoft\\Windows\\Shell\\Associations\\URLAssociations\\https\\UserChoice");
  if (!userChoice.valid()) return OpenCommandOf(L"https");
  const std::wstring progId = userChoice.readString(L"Progid").value_or(std::wstring());
  if (progId.empty()) return {};
  return OpenCommandOf(progId);
}

bool OpenInDefaultBrowser(const std::string& url) {
  const std::wstring wideUrl = Base::AnsiToWide(url);
  const std::wstring command = DefaultHttpsBrowserCommand();
  const std::wstring browser = command.empty() ? std::wstring() : BrowserExecutableFromCommand(command);
  if (!browser.empty() &&
      ShellAccepted(ShellExecuteW(nullptr, L"open", browser.c_str(), wideUrl.c_str(), nullptr, SW_SHOWNORMAL))) {
    return true;
  }
  return ShellAccepted(ShellExecuteW(nullptr, L"open", wideUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace Ui
