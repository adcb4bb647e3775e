#pragma once
// Proxy credentials: the Windows credential dialog and the generic records of
// the credential store, keyed by the proxy's host name (no port, no prefix).

#include <string>

#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {

// Shows the system's credential dialog for target. PM_STATUS_SUCCESS with the
// entered user (without the domain part when that is empty or names target)
// and password, PM_STATUS_USER_CANCELLED, or PM_STATUS_API_FAILURE.
// Both outputs are cleared first.
PmStatus ShowCredentialDialog(const std::wstring& target, std::wstring& user, std::wstring& password);

// Writes (or overwrites) the record of target, persisted for the local machine.
// False without writing when target or user is empty.
bool StoreCredentials(const std::wstring& target, const std::wstring& user, const std::wstring& password);

// Removes the record of target, if there is one.
void DeleteCredentials(const std::wstring& target);

// Reads the record of target; false when there is none (outputs unchanged).
bool LoadCredentials(const std::wstring& target, std::wstring& user, std::wstring& password);

}  // namespace ORVK::ProxyManager
