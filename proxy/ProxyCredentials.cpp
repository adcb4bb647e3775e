#include "proxy/ProxyCredentials.h"

#include <windows.h>

#include <wincred.h>

#include "base/Handles.h"
#include "proxy/AuthSchemeChoice.h"
#include "proxy/PmLog.h"

namespace ORVK::ProxyManager {
namespace {

constexpr ULONG kCredentialText = 256;

}  // namespace

PmStatus ShowCredentialDialog(const std::wstring& target, std::wstring& user, std::wstring& password) {
  PmLog(PM_LOG_INFO, L"Performing 'ShowCredentialDialog' ...");
  user.clear();
  password.clear();
  wchar_t name[kCredentialText] = {};
  wchar_t secret[kCredentialText] = {};
  const DWORD result = CredUIPromptForCredentialsW(
      nullptr, target.c_str(), nullptr, 0, name, kCredentialText, secret, kCredentialText, nullptr,
      CREDUI_FLAGS_DO_NOT_PERSIST | CREDUI_FLAGS_EXCLUDE_CERTIFICATES);
  PmLog(PM_LOG_INFO, L"ShowCredentialDialog response:%lu", result);
  if (result == ERROR_CANCELLED) {
    PmLog(PM_LOG_INFO, L"User CANCELLED credential dialog!");
    return PM_STATUS_USER_CANCELLED;
  }
  if (result != NO_ERROR) {
    PmLog(PM_LOG_ERROR, L"CredUIPromptForCredentialsW() API failed. Error:%lu", result);
    return PM_STATUS_API_FAILURE;
  }

  wchar_t userPart[kCredentialText] = {};
  wchar_t domainPart[kCredentialText] = {};
  const DWORD parsed = CredUIParseUserNameW(name, userPart, kCredentialText, domainPart, kCredentialText);
  if (parsed != NO_ERROR) {
    SecureZeroMemory(secret, sizeof secret);
    PmLog(PM_LOG_ERROR, L"CredUIParseUserNameW() API failed. Error:%lu", parsed);
    return PM_STATUS_API_FAILURE;
  }
  user = CredentialUserName(userPart, domainPart, target);
  password = secret;
  SecureZeroMemory(secret, sizeof secret);
  return PM_STATUS_SUCCESS;
}

bool StoreCredentials(const std::wstring& target, const std::wstring& user, const std::wstring& password) {
  PmLog(PM_LOG_INFO, L"Performing 'StoreCredentials' for proxy server:%s with user:%s", target.c_str(),
        user.c_str());
  if (target.empty() || user.empty()) return false;
  CREDENTIALW record = {};
  record.Type = CRED_TYPE_GENERIC;
  record.TargetName = const_cast<wchar_t*>(target.c_str());
  record.UserName = const_cast<wchar_t*>(user.c_str());
  record.CredentialBlobSize = static_cast<DWORD>(password.size() * sizeof(wchar_t));
  record.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<wchar_t*>(password.data()));
  record.Persist = CRED_PERSIST_LOCAL_MACHINE;
  const bool stored = CredWriteW(&record, 0) != FALSE;
  if (stored) {
    PmLog(PM_LOG_INFO, L"Successfully stored credential.");
  } else {
    PmLog(PM_LOG_ERROR, L"Failed to store credential !!!");
  }
  return stored;
}

void DeleteCredentials(const std::wstring& target) {
  if (target.empty()) return;
  PmLog(PM_LOG_INFO, L"Removing rejected credential for proxy server:%s", target.c_str());
  CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0);
}

bool LoadCredentials(const std::wstring& target, std::wstring& user, std::wstring& password) {
  PmLog(PM_LOG_INFO, L"Performing 'LoadCredentials' for proxy server:%s with user:%s", target.c_str(),
        user.c_str());
  if (target.empty()) return false;
  Base::CredentialRecord owner;
  if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, owner.receive())) {
    PmLog(PM_LOG_DEBUG, L"No credential found.");
    return false;
  }
  PmLog(PM_LOG_INFO, L"Successfully loaded credential.");
  const CREDENTIALW* record = owner.get();
  user = record->UserName != nullptr ? record->UserName : L"";
  password.clear();
  if (record->CredentialBlob != nullptr) {
    password.assign(reinterpret_cast<const wchar_t*>(record->CredentialBlob),
                    record->CredentialBlobSize / sizeof(wchar_t));
  }
  return true;
}

}  // namespace ORVK::ProxyManager
