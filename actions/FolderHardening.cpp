#include "actions/FolderHardening.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <optional>
#include <string>
#include <vector>

#include "actions/ExtractionPaths.h"
#include "actions/HardeningCommands.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"

namespace GenericStub {
using Base::LogInfo;

namespace {

using LocalText = Base::UniqueResource<Base::LocalMemoryTraits<LPWSTR>>;
using LocalDescriptor = Base::UniqueResource<Base::LocalMemoryTraits<PSECURITY_DESCRIPTOR>>;

using Sid = std::vector<BYTE>;

Sid CurrentUserSid() {
  Base::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return {};
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return Sid(bytes, bytes + GetLengthSid(sid));
}

Sid WellKnownSid(WELL_KNOWN_SID_TYPE type) {
  Sid sid(SECURITY_MAX_SID_SIZE);
  DWORD size = static_cast<DWORD>(sid.size());
  if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return {};
  sid.resize(size);
  return sid;
}

std::wstring SidText(const Sid& sid) {
  LocalText text;
  if (sid.empty() || !ConvertSidToStringSidW(const_cast<BYTE*>(sid.data()), text.receive())) return {};
  return text.get();
}

bool SameSid(const Sid& known, PSID sid) { return !known.empty() && sid != nullptr && EqualSid(const_cast<BYTE*>(known.data()), sid); }

// The user's own, and the system's: whoever holds one of these may change the
// folder anyway.
struct TrustedSids {
  Sid user = CurrentUserSid();
  Sid administrators = WellKnownSid(WinBuiltinAdministratorsSid);
  Sid system = WellKnownSid(WinLocalSystemSid);

  bool trusts(PSID sid) const { return SameSid(user, sid) || SameSid(administrators, sid) || SameSid(system, sid); }
};

LocalDescriptor DescriptorFromText(const std::wstring& sddl) {
  LocalDescriptor descriptor;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor.receive(),
                                                       nullptr);
  return descriptor;
}

// Protected (P): nothing is inherited from the parent; the entries pass on to
// everything created inside (OICI).
LocalDescriptor PrivateFolderDescriptor() {
  const std::wstring user = SidText(CurrentUserSid());
  if (user.empty()) return {};
  return DescriptorFromText(L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + L")(A;OICI;0x1200a9;;;BU)");
}

// The root: users may list it and create their own folders in it (they own
// what they create, CREATOR OWNER), nothing more; nothing inherited from the
// drive's root, where every authenticated user may create and change folders.
LocalDescriptor RootDescriptor() {
  return DescriptorFromText(L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200ad;;;BU)(A;OICIIO;FA;;;CO)");
}

constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                      FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                      GENERIC_ALL | MAXIMUM_ALLOWED;

// The facts of an existing folder, read without following a reparse point;
// nothing when it cannot be opened or read.
std::optional<FolderFacts> ReadFolderFacts(const std::wstring& path) {
  const Base::UniqueHandle folder(CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                              nullptr));
  BY_HANDLE_FILE_INFORMATION information = {};
  if (!folder || !GetFileInformationByHandle(folder.get(), &information)) return std::nullopt;
  PSID owner = nullptr;
  PACL dacl = nullptr;
  LocalDescriptor descriptor;
  if (GetSecurityInfo(folder.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                      nullptr, &dacl, nullptr, descriptor.receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const TrustedSids trusted;
  FolderFacts facts;
  facts.reparsePoint = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                       (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  facts.owner = SameSid(trusted.user, owner)             ? FolderOwner::kUser
                : SameSid(trusted.administrators, owner) ? FolderOwner::kAdministrators
                : SameSid(trusted.system, owner)         ? FolderOwner::kSystem
                                                         : FolderOwner::kOther;
  // A link that the file system does not flag (Wine's symbolic links) still
  // shows by leading elsewhere.
  wchar_t finalPath[MAX_PATH + 8] = {};
  const DWORD length = GetFinalPathNameByHandleW(folder.get(), finalPath, MAX_PATH + 8, FILE_NAME_NORMALIZED);
  std::wstring resolved(finalPath, length < MAX_PATH + 8 ? length : 0);
  if (resolved.rfind(L"\\\\?\\", 0) == 0) resolved.erase(0, 4);
  facts.reparsePoint = facts.reparsePoint || resolved.empty() ||
                       CompareStringOrdinal(resolved.c_str(), -1, path.c_str(), -1, TRUE) != CSTR_EQUAL;
  facts.othersMayChange = dacl == nullptr;
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) {
      facts.othersMayChange = true;
      break;
    }
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;
    const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
    if ((ace->Mask & kChangeRights) != 0 && !trusted.trusts(const_cast<DWORD*>(&ace->SidStart))) {
      facts.othersMayChange = true;
    }
  }
  return facts;
}

bool CreateWith(const std::wstring& path, LocalDescriptor descriptor) {
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
  return CreateDirectoryW(path.c_str(), &attributes) != FALSE;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// A folder of the package path that exists but may not be used is moved
// aside (it may be a link or someone else's), and a private one made instead.
bool MakePrivateFolder(const std::wstring& path) {
  if (CreateWith(path, PrivateFolderDescriptor())) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) {
    LogInfo(L"ExtractPackage::Folder [%s] can not be created, error [%lu].\n", path.c_str(), GetLastError());
    return false;
  }
  const std::optional<FolderFacts> facts = ReadFolderFacts(path);
  if (facts && MayReusePackageFolder(*facts)) return true;
  // A link goes, not what it leads to.
  if (facts && facts->reparsePoint) {
    if (!RemoveDirectoryW(path.c_str())) {
      LogInfo(L"ExtractPackage::Folder [%s] is a link and can not be removed, error [%lu].\n", path.c_str(),
              GetLastError());
      return false;
    }
    LogInfo(L"ExtractPackage::Folder [%s] was a link; removed.\n", path.c_str());
    if (CreateWith(path, PrivateFolderDescriptor())) return true;
    LogInfo(L"ExtractPackage::Folder [%s] can not be created, error [%lu].\n", path.c_str(), GetLastError());
    return false;
  }
  const std::wstring aside = path + L".moved-" + std::to_wstring(GetTickCount64());
  if (!MoveFileExW(path.c_str(), aside.c_str(), 0)) {
    LogInfo(L"ExtractPackage::Folder [%s] is not private and can not be moved aside, error [%lu].\n", path.c_str(),
            GetLastError());
    return false;
  }
  LogInfo(L"ExtractPackage::Folder [%s] was not private; moved aside to [%s].\n", path.c_str(), aside.c_str());
  if (CreateWith(path, PrivateFolderDescriptor())) return true;
  LogInfo(L"ExtractPackage::Folder [%s] can not be created, error [%lu].\n", path.c_str(), GetLastError());
  return false;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

// Runs program with commandLine without a console (so no console host is
// started for it; its output is not read) and waits for it.
// The exit code, or a value of its own when the program cannot be started.
DWORD RunAndWait(const std::wstring& program, std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
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

bool PrepareRoot(const std::wstring& root) {
  const std::wstring path = WithoutTrailingSeparators(root);
  if (!CreateWith(path, RootDescriptor()) && GetLastError() != ERROR_ALREADY_EXISTS) {
    LogInfo(L"ExtractPackage::Folder [%s] can not be created, error [%lu].\n", root.c_str(), GetLastError());
    return false;
  }
  const std::optional<FolderFacts> facts = ReadFolderFacts(path);
  if (!facts || !MayUseRoot(*facts)) {
    LogInfo(L"ExtractPackage::Folder [%s] is a link or belongs to someone else.\n", root.c_str());
    return false;
  }
  return true;
}

bool CreatePrivateFolder(const std::wstring& root, const std::wstring& folder) {
  const std::wstring path = WithoutTrailingSeparators(folder);
  // Each folder below the root, down to the package folder itself.
  for (std::wstring::size_type separator = path.find_first_of(L"\\/", root.size());;
       separator = path.find_first_of(L"\\/", separator + 1)) {
    if (!MakePrivateFolder(path.substr(0, separator))) return false;
    if (separator == std::wstring::npos) return true;
  }
}

bool HardenFolder(const std::wstring& folder) {
  // icacls and its DLLs come from the system folder, never from the search
  // path or the program's folder; no command interpreter reads the paths.
  const std::wstring system = SystemFolder();
  const std::wstring icacls = system + L"\\icacls.exe";
  for (const std::wstring& commandLine : HardeningCommandLines(icacls, folder)) {
    const DWORD exitCode = system.empty() ? ERROR_PATH_NOT_FOUND : RunAndWait(icacls, commandLine, system);
    if (exitCode != 0) {
      LogInfo(L"ExtractPackage::Hardening of [%s] failed, result [%lx].\n", folder.c_str(), exitCode);
      return false;
    }
  }
  return true;
}

}  // namespace GenericStub
