#include "actions/FolderHardening.h"

#include <windows.h>

#include <sddl.h>

#include <vector>

#include "actions/HardeningCommands.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"

namespace GenericStub {
using Base::LogInfo;

namespace {

using LocalText = Base::UniqueResource<Base::LocalMemoryTraits<LPWSTR>>;
using LocalDescriptor = Base::UniqueResource<Base::LocalMemoryTraits<PSECURITY_DESCRIPTOR>>;

std::wstring CurrentUserSid() {
  Base::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return {};
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
  LocalText text;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, text.receive())) {
    return {};
  }
  return text.get();
}

// Protected (P): nothing is inherited from the parent; the entries pass on to
// everything created inside (OICI).
LocalDescriptor PrivateFolderDescriptor() {
  const std::wstring user = CurrentUserSid();
  if (user.empty()) return {};
  const std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user +
                            L")(A;OICI;0x1200a9;;;BU)";
  LocalDescriptor descriptor;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.receive(),
                                                       nullptr);
  return descriptor;
}

bool CreateOrFindFolder(const std::wstring& path, SECURITY_ATTRIBUTES* attributes) {
  return CreateDirectoryW(path.c_str(), attributes) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

// Runs program with commandLine without a console window and waits for it.
// The exit code, or a value of its own when the program cannot be started.
DWORD RunAndWait(const std::wstring& program, std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, folder.c_str(), &startup, &info)) {
    return GetLastError() | 0x80000000u;
  }
  const Base::UniqueHandle process(info.hProcess);
  const Base::UniqueHandle thread(info.hThread);
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &exitCode)) {
    return GetLastError() | 0x80000000u;
  }
  return exitCode;
}

}  // namespace

bool CreatePrivateFolder(const std::wstring& folder) {
  std::wstring path = folder;
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();

  // The folders above it, as plain folders; the drive's root is skipped.
  for (std::wstring::size_type separator = path.find_first_of(L"\\/", 3); separator != std::wstring::npos;
       separator = path.find_first_of(L"\\/", separator + 1)) {
    CreateOrFindFolder(path.substr(0, separator), nullptr);
  }

  LocalDescriptor descriptor = PrivateFolderDescriptor();
  if (!descriptor) {
    LogInfo(L"ExtractPackage::No access list for [%s], error [%lu].\n", folder.c_str(), GetLastError());
    return false;
  }
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
  if (!CreateOrFindFolder(path, &attributes)) {
    LogInfo(L"ExtractPackage::Folder [%s] can not be created, error [%lu].\n", folder.c_str(), GetLastError());
    return false;
  }
  return true;
}

void HardenFolder(const std::wstring& folder) {
  // icacls and its DLLs come from the system folder, never from the search
  // path or the program's folder; no command interpreter reads the paths.
  const std::wstring system = SystemFolder();
  const std::wstring icacls = system + L"\\icacls.exe";
  for (const std::wstring& commandLine : HardeningCommandLines(icacls, folder)) {
    const DWORD exitCode = system.empty() ? ERROR_PATH_NOT_FOUND : RunAndWait(icacls, commandLine, system);
    if (exitCode != 0) {
      LogInfo(L"ExtractPackage::Hardening of [%s] failed, result [%lx].\n", folder.c_str(), exitCode);
      return;
    }
  }
}

}  // namespace GenericStub
