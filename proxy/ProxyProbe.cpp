// ProxyManagerImplWin: the probe of one proxy candidate and its credential search.

#include <windows.h>

#include <winhttp.h>

#include "base/Utf8Text.h"
#include "proxy/AuthSchemeChoice.h"
#include "proxy/CredentialSearch.h"
#include "proxy/PmLog.h"
#include "proxy/ProxyCredentials.h"
#include "proxy/ProxyManagerImplWin.h"

namespace ORVK::ProxyManager {

using Base::Utf8ToWideLenient;
using Base::WideToUtf8Lenient;

namespace {

constexpr DWORD kHostNameBuffer = 256;
constexpr DWORD kUrlPathBuffer = 2048;

bool SetAutologonPolicy(HINTERNET request, DWORD policy) {
  return WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &policy, sizeof policy) != FALSE;
}

}  // namespace

PmStatus ProxyManagerImplWin::CheckAuthenticatingProxy(bool silentMode) {
  PmLog(PM_LOG_INFO, L"Performing 'CheckAuthenticatingProxy' ...");
  if (url.empty() || proxyName.empty()) {
    PmLog(PM_LOG_ERROR, L"URL or Proxy server is empty!");
    return PM_STATUS_INVALID_INPUT;
  }
  // Declared in this order so that they close request first, session last.
  WinHttpHandle session;
  WinHttpHandle connection;
  WinHttpHandle request;
  if (!OpenRequest(session, connection, request)) return PM_STATUS_API_FAILURE;

  PmLog(PM_LOG_DEBUG, L"Setting security level high for WinHTTP communications.");
  if (!SetAutologonPolicy(request.get(), WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH)) {
    LogApiFailure(L"WinHttpSetOption");
    return PM_STATUS_API_FAILURE;
  }

  const std::wstring target = Utf8ToWideLenient(server);
  std::wstring userText;
  std::wstring passwordText;
  DWORD supported = 0;
  const bool callerNamedUser = !user.empty();
  if (callerNamedUser) {
    PmLog(PM_LOG_INFO, L"Using invoker provided proxy credentials with user:%s", Utf8ToWideLenient(user).c_str());
    userText = Utf8ToWideLenient(user);
    passwordText = Utf8ToWideLenient(password);
  }
  CredentialSearch search =
      FirstCredentials(callerNamedUser, !callerNamedUser && LoadCredentials(target, userText, passwordText));
  if (search.source == CredentialSource::kStore) {
    PmLog(PM_LOG_INFO, L"Using cached credentials for proxy server:%s  user:%s", target.c_str(), userText.c_str());
  }

  if (!userText.empty()) {
    PmLog(PM_LOG_INFO, L"Detecting auth scheme for the available credentials ...");
    if (SendRequest(request.get())) QueryAuthScheme(request.get(), supported);
  }

  for (;;) {
    if (supported != 0) {
      const DWORD scheme = ChooseCredentialScheme(supported);
      PmLog(PM_LOG_DEBUG, "Trying %lu authentication scheme although proxy server supports %lu authentication scheme",
            scheme, supported);
      if (!WinHttpSetCredentials(request.get(), WINHTTP_AUTH_TARGET_PROXY, scheme, userText.c_str(),
                                 passwordText.c_str(), nullptr)) {
        LogApiFailure(L"WinHttpSetCredentials");
        return PM_STATUS_API_FAILURE;
      }
    }
    // A stale code from an earlier call must not read as a resend request.
    SetLastError(ERROR_SUCCESS);
    if (!SendRequest(request.get())) return PM_STATUS_API_FAILURE;
    if (GetLastError() == ERROR_WINHTTP_RESEND_REQUEST) continue;

    DWORD status = 0;
    if (!GetHTTPStatusCode(request.get(), status)) return PM_STATUS_API_FAILURE;
    if (status != HTTP_STATUS_PROXY_AUTH_REQ) break;

    QueryAuthScheme(request.get(), supported);
    if (!SetAutologonPolicy(request.get(), WINHTTP_AUTOLOGON_SECURITY_LEVEL_MEDIUM)) {
      LogApiFailure(L"WinHttpSetOption");
    }
    RefusalStep step = AfterRefusal(search, silentMode);
    if (step == RefusalStep::kTryStored) {
      const bool found = LoadCredentials(target, userText, passwordText);
      search = Retried(search, found ? CredentialSource::kStore : CredentialSource::kNone);
      if (found) continue;
      step = AfterRefusal(search, silentMode);
    }
    if (step == RefusalStep::kFailSilent) {
      PmLog(PM_LOG_ERROR,
            L"PM_STATUS_SILENT_MODE_ERROR - Application running under Silent Mode and it requires proxy server credentials.");
      return PM_STATUS_SILENT_MODE_ERROR;
    }
    if (step == RefusalStep::kForgetStoredAndAsk) DeleteCredentials(target);
    const PmStatus answered = ShowCredentialDialog(target, userText, passwordText);
    if (answered != PM_STATUS_SUCCESS) return answered;
    search = Retried(search, CredentialSource::kDialog);
  }

  user = WideToUtf8Lenient(userText);
  password = WideToUtf8Lenient(passwordText);
  if (search.saveOnSuccess) StoreCredentials(target, userText, passwordText);
  authScheme = ChooseReportedScheme(supported);
  return PM_STATUS_SUCCESS;
}

bool ProxyManagerImplWin::OpenRequest(WinHttpHandle& session, WinHttpHandle& connection,
                                      WinHttpHandle& request) {
  PmLog(PM_LOG_DEBUG, L"Performing 'OpenRequest' ...");
  session.reset(WinHttpOpen(L"WinHTTP/1.0", WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxyName.c_str(),
                            WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    LogApiFailure(L"WinHttpOpen");
    return false;
  }

  const std::wstring wideUrl = Utf8ToWideLenient(url);
  wchar_t host[kHostNameBuffer] = {};
  wchar_t path[kUrlPathBuffer] = {};
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = kHostNameBuffer;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = kUrlPathBuffer;
  // Asked for separately (as a pointer into the URL) so that it stays out of the path.
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts)) {
    LogApiFailure(L"WinHttpCrackUrl");
    session.reset();
    return false;
  }

  // The probe only asks whether the proxy lets us through: the URL's own port is not used.
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  connection.reset(WinHttpConnect(session.get(), host,
                                  secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT, 0));
  if (!connection) {
    LogApiFailure(L"WinHttpConnect");
    session.reset();
    return false;
  }
  request.reset(WinHttpOpenRequest(connection.get(), L"HEAD", path, nullptr, WINHTTP_NO_REFERER,
                                   WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) {
    LogApiFailure(L"WinHttpOpenRequest");
    connection.reset();
    session.reset();
    return false;
  }
  return true;
}

bool ProxyManagerImplWin::SendRequest(HINTERNET request) {
  PmLog(PM_LOG_DEBUG, L"Performing 'SendRequest' ...");
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
    LogApiFailure(L"WinHttpSendRequest");
    return false;
  }
  if (!WinHttpReceiveResponse(request, nullptr)) {
    LogApiFailure(L"WinHttpReceiveResponse");
    return false;
  }
  return true;
}

bool ProxyManagerImplWin::QueryAuthScheme(HINTERNET request, DWORD& supported) {
  PmLog(PM_LOG_DEBUG, L"Performing 'QueryAuthScheme' ...");
  supported = 0;
  DWORD schemes = 0;
  DWORD first = 0;
  DWORD target = 0;
  if (!WinHttpQueryAuthSchemes(request, &schemes, &first, &target)) {
    LogApiFailure(L"WinHttpQueryAuthSchemes");
    return false;
  }
  supported = schemes;
  PmLog(PM_LOG_DEBUG, "Proxy server supports AuthScheme:%lu", supported);
  return true;
}

bool ProxyManagerImplWin::GetHTTPStatusCode(HINTERNET request, DWORD& status) {
  PmLog(PM_LOG_DEBUG, L"Performing 'GetHTTPStatusCode' ...");
  status = 0;
  DWORD code = 0;
  DWORD size = sizeof code;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX)) {
    LogApiFailure(L"WinHttpQueryHeaders");
    return false;
  }
  status = code;
  PmLog(PM_LOG_DEBUG, "Received HTTP status:%lu", status);
  return true;
}

}  // namespace ORVK::ProxyManager
