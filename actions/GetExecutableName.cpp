#include "actions/GetExecutableName.h"

#include <windows.h>

#include <shlwapi.h>

#include "base/ExecutionLog.h"

namespace GenericStub {
using Base::LogInfo;

std::wstring GetExecutableName(const std::wstring& folder, const std::vector<std::wstring>& candidates) {
  std::wstring result = L"Setup.exe";
  for (const std::wstring& candidate : candidates) {
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
