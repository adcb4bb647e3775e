// ProxyManagerImplWin: where the proxy list comes from.

#include <windows.h>

#include <winhttp.h>

#include "base/Utf8Text.h"
#include "proxy/PmLog.h"
#include "proxy/ProxyManagerImplWin.h"

namespace ORVK::ProxyManager {

using Base::Utf8ToWideLenient;

namespace {

// The texts that WinHTTP's proxy queries hand over for the caller to GlobalFree.
using Base::GlobalText;

bool HasText(LPCWSTR text) { return text != nullptr && text[0] != L'\0'; }

}  // namespace

PmStatus ProxyManagerImplWin::DiscoverProxyConfiguration(std::wstring& list) {
  PmLog(PM_LOG_INFO, L"Performing 'DiscoverProxyConfiguration' ...");
  PmLog(PM_LOG_INFO, L"Discovering proxy settings from Internet Explorer ...");
  list.clear();

  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG ie = {};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&ie)) {
    LogApiFailure(L"WinHttpGetIEProxyConfigForCurrentUser");
    return PM_STATUS_API_FAILURE;
  }
  GlobalText autoConfigUrl(ie.lpszAutoConfigUrl);
  GlobalText proxy(ie.lpszProxy);
  GlobalText bypass(ie.lpszProxyBypass);

  if (ie.fAutoDetect) PmLog(PM_LOG_DEBUG, L"AutoDetect:%d", static_cast<int>(ie.fAutoDetect));
  if (HasText(ie.lpszAutoConfigUrl)) PmLog(PM_LOG_DEBUG, L"AutoConfig URL:%s", ie.lpszAutoConfigUrl);
  if (HasText(ie.lpszProxy)) PmLog(PM_LOG_DEBUG, L"Proxy server list:%s", ie.lpszProxy);
  if (HasText(ie.lpszProxyBypass)) PmLog(PM_LOG_DEBUG, L"Bypass proxy server list:%s", ie.lpszProxyBypass);

  if (ie.fAutoDetect) {
    if (GetEnvironmentFlag(L"ORVK_ORVK_WPAD_PROXY_CHECK", true)) {
      PmLog(PM_LOG_INFO, L"Discovering WDAP based proxy setting ... (this may take several seconds)");
      if (AutoDetectProxyInfo(true, std::wstring(), list)) return PM_STATUS_SUCCESS;
    } else {
      PmLog(PM_LOG_INFO, L"WDAP proxy check is disabled, skipping WPAD based proxy discovery.");
    }
  }
  if (HasText(ie.lpszAutoConfigUrl) && AutoDetectProxyInfo(false, ie.lpszAutoConfigUrl, list)) {
    return PM_STATUS_SUCCESS;
  }
  if (HasText(ie.lpszProxy)) {
    list = ie.lpszProxy;
    return PM_STATUS_SUCCESS;
  }

  PmLog(PM_LOG_INFO,
        L"Unable to detect proxy information from IE settings. Trying to get proxy information using default proxy configuration ...");
  WINHTTP_PROXY_INFO machine = {};
  if (!WinHttpGetDefaultProxyConfiguration(&machine)) {
    LogApiFailure(L"WinHttpGetDefaultProxyConfiguration");
    return PM_STATUS_API_FAILURE;
  }
  GlobalText machineProxy(machine.lpszProxy);
  GlobalText machineBypass(machine.lpszProxyBypass);
  if (HasText(machine.lpszProxyBypass)) PmLog(PM_LOG_DEBUG, L"Bypass proxy list:%s", machine.lpszProxyBypass);
  if (HasText(machine.lpszProxy)) {
    PmLog(PM_LOG_DEBUG, L"Proxy server list:%s", machine.lpszProxy);
    list = machine.lpszProxy;
    return PM_STATUS_SUCCESS;
  }
  PmLog(PM_LOG_INFO, L"Unable to detect proxy information from default proxy configuration");
  PmLog(PM_LOG_INFO, L"No proxy server configuration detected.");
  return PM_STATUS_NO_PROXY;
}

bool ProxyManagerImplWin::AutoDetectProxyInfo(bool autoDetect, const std::wstring& pacUrl,
                                              std::wstring& list) {
  PmLog(PM_LOG_INFO, L"Performing 'AutoDetectProxyInfo' ...");
  if (!autoDetect && pacUrl.empty()) {
    PmLog(PM_LOG_ERROR, L"Automatically detect proxy settings is not selected or PAC URL is empty!");
    return false;
  }
  list.clear();
  WinHttpHandle session(WinHttpOpen(L"WinHTTP/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                    WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    LogApiFailure(L"WinHttpOpen");
    return false;
  }

  WINHTTP_AUTOPROXY_OPTIONS options = {};
  if (autoDetect) {
    options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT | WINHTTP_AUTOPROXY_RUN_INPROCESS;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  } else {
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = pacUrl.c_str();
  }
  options.fAutoLogonIfChallenged = TRUE;
  const wchar_t* method = autoDetect ? L"WPAD" : L"PAC URL";

  WINHTTP_PROXY_INFO answer = {};
  const std::wstring wideUrl = Utf8ToWideLenient(url);
  if (!WinHttpGetProxyForUrl(session.get(), wideUrl.c_str(), &options, &answer)) {
    LogApiFailure(L"WinHttpGetProxyForUrl");
    PmLog(PM_LOG_INFO, L"Unable to automatically detect proxy information using %s", method);
    return false;
  }
  GlobalText proxy(answer.lpszProxy);
  GlobalText bypass(answer.lpszProxyBypass);
  if (HasText(answer.lpszProxyBypass)) PmLog(PM_LOG_DEBUG, L"Bypass proxy server list:%s", answer.lpszProxyBypass);
  if (HasText(answer.lpszProxy)) {
    PmLog(PM_LOG_DEBUG, L"Proxy server list:%s", answer.lpszProxy);
    list = answer.lpszProxy;
    return true;
  }
  PmLog(PM_LOG_INFO, L"Unable to automatically detect proxy information using %s", method);
  return false;
}

}  // namespace ORVK::ProxyManager
