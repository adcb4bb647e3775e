#pragma once
// The Windows proxy manager: finds the proxy configuration of the user and the
// machine, turns it into candidates and probes them one after the other,
// asking for credentials when a proxy demands them. One object serves one call.

#include <cstdint>
#include <string>

#include "proxy/ProxyManagerImpl.h"
#include "base/Handles.h"

namespace ORVK::ProxyManager {

using Base::WinHttpHandle;

class ProxyManagerImplWin : public ProxyManagerImpl {
 public:
  ProxyManagerImplWin() = default;
  ~ProxyManagerImplWin() override = default;

  PmStatus GetProxyInfo(const UserData& input, ProxyInfo& output) override;

  // Discovery order, first success wins: WPAD (unless "ORVK_ORVK_WPAD_PROXY_CHECK"
  // is FALSE), the PAC URL and the fixed list of the user's IE settings, then
  // the machine's default WinHTTP configuration. PM_STATUS_SUCCESS with the
  // proxy list, PM_STATUS_NO_PROXY, or PM_STATUS_API_FAILURE.
  PmStatus DiscoverProxyConfiguration(std::wstring& list);
  // Asks WinHTTP for url's proxy by WPAD (autoDetect) or by the PAC script at
  // pacUrl; true with a non-empty list.
  bool AutoDetectProxyInfo(bool autoDetect, const std::wstring& pacUrl, std::wstring& list);

  // Probes the candidate in server/proxyName with a HEAD request for url; on a
  // 407 tries the caller's, the stored, then the dialog's credentials. On
  // PM_STATUS_SUCCESS user, password and authScheme hold what the proxy took.
  PmStatus CheckAuthenticatingProxy(bool silentMode);

 private:
  bool OpenRequest(WinHttpHandle& session, WinHttpHandle& connection, WinHttpHandle& request);
  bool SendRequest(HINTERNET request);
  bool QueryAuthScheme(HINTERNET request, DWORD& supported);
  bool GetHTTPStatusCode(HINTERNET request, DWORD& status);

  std::string url;
  std::string server;
  std::string serverPort;
  std::string user;
  std::string password;
  uint32_t authScheme = 0;
  std::wstring proxyName;
};

}  // namespace ORVK::ProxyManager
