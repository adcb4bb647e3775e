#include "actions/RunExecutableAction.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "actions/LaunchRules.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/ProgramFile.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

void RunExecutableAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring executable = getMandatoryValue(store, Catalog::kExecutableName);
  const std::wstring arguments = getValue(store, Catalog::kArguments, L"");
  const std::wstring quiet = getValue(store, Catalog::kQuiet, L"0");
  const std::wstring launchPath = getValue(store, Catalog::kLaunchPath, L"");
  const std::wstring shallWait = getValue(store, Catalog::kShallWait, L"0");

  const std::wstring file = LaunchFile(executable, launchPath, Base::ProgramFolder());
  if (file.empty()) {
    Base::LogInfo(L"RunExecutableAction::[%s] is not a file inside [%s]; nothing is started.\n", executable.c_str(),
                  launchPath.c_str());
    return;
  }
  const std::wstring parameters = LaunchParameters(arguments, quiet);

  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = launchPath.c_str();
  info.nShow = SW_SHOWNORMAL;
  // A program that cannot be started is not an error of the workflow.
  ShellExecuteExW(&info);
  const Base::UniqueHandle process(info.hProcess);

  if (DecimalSetting(shallWait) == 0 || !process) return;
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &exitCode)) {
    return;
  }
  publishOutput(store, Catalog::kReturnCode, std::to_wstring(static_cast<int>(exitCode)));
}

}  // namespace GenericStub
