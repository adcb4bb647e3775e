#include "actions/LaunchProtocolHandlerAction.h"

#include <windows.h>

#include <vector>

#include "actions/ProtocolCommand.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/RegistryKey.h"

namespace GenericStub {

using Base::LogError;

void LaunchProtocolHandlerAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring name = getMandatoryValue(store, L"name");
  const std::wstring url = getMandatoryValue(store, L"downloadUrl");

  const std::wstring keyPath = name + L"\\shell\\open\\command";
  const std::wstring commandTemplate =
      Base::RegistryKey(HKEY_CLASSES_ROOT, keyPath).readString(nullptr).value_or(std::wstring());
  if (commandTemplate.empty()) LogError(L"Can not find the protocol handler [%s].\n", keyPath.c_str());

  // The attempt is made even without a template, so that its failure is logged as well.
  const std::wstring commandLine = FillProtocolCommand(commandTemplate, url);
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    const DWORD error = GetLastError();
    LogError(L"Error launching protocol handler [%s], GetLastError [%d].\n", commandLine.c_str(),
             static_cast<int>(error));
    return;
  }
  const Base::UniqueHandle process(started.hProcess);
  const Base::UniqueHandle thread(started.hThread);
}

}  // namespace GenericStub
