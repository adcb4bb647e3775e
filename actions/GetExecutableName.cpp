#include "actions/GetExecutableName.h"

#include <windows.h>

#include <shlwapi.h>

#include "actions/RelativeNames.h"
#include "base/ExecutionLog.h"

namespace GenericStub {
using Base::LogInfo;

std::wstring GetExecutableName(const std::wstring& folder, const std::vector<std::wstring>& candidates) {
  std::wstring result = L"Setup.exe";
  for (const std::wstring& candidate : candidates) {
    if (!RelativeNameRefusal(candidate).empty()) {
      LogInfo(L"GetExecutableName::[%s] is not a name inside the folder.\n", candidate.c_str());
      continue;
    }
    const std::wstring path = folder + candidate;
    LogInfo(L"GetExecutableName::Check if [%s] exist?\n", path.c_str());
    if (PathFileExistsW(path.c_str())) {
      LogInfo(L"GetExecutableName::[%s] Found!\n", path.c_str());
      result = candidate;
      break;
    }
  }
  LogInfo(L"GetExecutableName::Selected binary name is [%s].\n", result.c_str());
  return result;
}

}  // namespace GenericStub
