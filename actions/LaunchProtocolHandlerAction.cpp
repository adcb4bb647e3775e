#include "actions/LaunchProtocolHandlerAction.h"

#include <windows.h>

#include <vector>

#include "actions/ProtocolCommand.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/RegistryKey.h"
#include "base/SplitString.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

using Base::LogError;

namespace {

// Started by name alone, a program would be looked for in this program's own
// folder and the current folder first: the download folder, where a web page
// can drop a program of that name. So a handler registered without its folder
// is looked for in the system folders and the absolute folders of PATH only.
// Empty when it is not found there, or is named with a relative folder.
std::wstring FindInSafeFolders(const std::wstring& program) {
  if (!IsBareFileName(program)) return {};
  std::vector<wchar_t> buffer(32768, L'\0');
  const auto size = static_cast<UINT>(buffer.size());
  std::wstring folders;
  const UINT systemLength = GetSystemDirectoryW(buffer.data(), size);
  if (systemLength > 0 && systemLength < size) folders += buffer.data();
  const UINT windowsLength = GetWindowsDirectoryW(buffer.data(), size);
  if (windowsLength > 0 && windowsLength < size) folders += L";" + std::wstring(buffer.data());
  const DWORD pathLength = GetEnvironmentVariableW(L"PATH", buffer.data(), size);
  if (pathLength > 0 && pathLength < size) {
    for (const std::wstring& folder : Base::SplitString(buffer.data(), L";")) {
      if (IsFullyQualifiedPath(folder)) folders += L";" + folder;
    }
  }
  const DWORD found = SearchPathW(folders.c_str(), program.c_str(), L".exe", size, buffer.data(), nullptr);
  return found > 0 && found < size ? std::wstring(buffer.data(), found) : std::wstring();
}

void LogLaunchError(const std::wstring& commandLine, DWORD error) {
  LogError(L"Error launching protocol handler [%s], GetLastError [%d].\n", commandLine.c_str(),
           static_cast<int>(error));
}

}  // namespace

void LaunchProtocolHandlerAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring name = getMandatoryValue(store, Catalog::kName);
  const std::wstring url = getMandatoryValue(store, Catalog::kDownloadUrl);

  const std::wstring keyPath = name + L"\\shell\\open\\command";
  const std::wstring commandTemplate =
      Base::RegistryKey(HKEY_CLASSES_ROOT, keyPath).readString(nullptr).value_or(std::wstring());
  if (commandTemplate.empty()) LogError(L"Can not find the protocol handler [%s].\n", keyPath.c_str());

  // An empty template gives an empty command line, whose start fails and is logged as well.
  const std::wstring commandLine = FillProtocolCommand(commandTemplate, url);
  // The URL goes into the command line as it stands: a quote or a blank in it
  // would hand the handler arguments of its own.
  if (!IsPlainProtocolUrl(url)) {
    LogLaunchError(commandLine, ERROR_INVALID_PARAMETER);
    return;
  }
  // A program given with its full path is left to the platform to split from the command line.
  std::wstring program;
  if (!IsFullyQualifiedPath(ProgramOfCommandLine(commandLine))) {
    program = FindInSafeFolders(ProgramOfCommandLine(commandLine));
    if (program.empty()) {
      LogLaunchError(commandLine, ERROR_FILE_NOT_FOUND);
      return;
    }
  }

  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &started)) {
    LogLaunchError(commandLine, GetLastError());
    return;
  }
  const Base::UniqueHandle process(started.hProcess);
  const Base::UniqueHandle thread(started.hThread);
}

}  // namespace GenericStub
