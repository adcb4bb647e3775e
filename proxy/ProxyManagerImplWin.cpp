#include "proxy/ProxyManagerImplWin.h"

#include <vector>

#include "base/Utf8Text.h"
#include "proxy/PmLog.h"
#include "proxy/ProxyListParser.h"

namespace ORVK::ProxyManager {

using Base::Utf8ToWide;
using Base::Utf8ToWideLenient;

namespace {

bool IsUtf8(const char* text) {
  std::wstring ignored;
  return text == nullptr || Utf8ToWide(text, ignored);
}

}  // namespace

PmStatus ProxyManagerImplWin::GetProxyInfo(const UserData& input, ProxyInfo& output) {
  PmLog(PM_LOG_INFO, L"Performing 'GetProxyInfo' API ...");
  const PmStatus valid = ValidateInput(input, output);
  if (valid != PM_STATUS_SUCCESS) {
    PmLog(PM_LOG_ERROR, L"Input data 'UserData.url' is NULL or empty!");
    return ReportStatus(valid, output);
  }
  // Every text is converted for WinHTTP later on; refuse what cannot be.
  if (!IsUtf8(input.url) || !IsUtf8(input.user) || !IsUtf8(input.password)) {
    PmLog(PM_LOG_ERROR, L"Input data 'UserData' is not valid UTF-8!");
    return ReportStatus(PM_STATUS_INVALID_INPUT, output);
  }

  url = input.url;
  PmLog(PM_LOG_INFO, L"Input URL:%s", Utf8ToWideLenient(url).c_str());
  if (input.user != nullptr) {
    user = input.user;
    PmLog(PM_LOG_INFO, L"Input user:%s", Utf8ToWideLenient(user).c_str());
  }
  if (input.password != nullptr) {
    password = input.password;
    PmLog(PM_LOG_INFO, L"Input password:****");
  }

  std::wstring list;
  const PmStatus discovered = DiscoverProxyConfiguration(list);
  if (discovered != PM_STATUS_SUCCESS) return ReportStatus(discovered, output);

  PmLogDebugOutput parserLog;
  std::vector<ProxyCandidate> candidates;
  if (!FetchServerInfo(Utf8ToWideLenient(url), list, candidates, parserLog)) {
    return ReportStatus(PM_STATUS_API_FAILURE, output);
  }

  // A list of separators only yields no candidate: that is no usable proxy.
  PmStatus status = PM_STATUS_API_FAILURE;
  for (const ProxyCandidate& candidate : candidates) {
    server = candidate.server;
    serverPort = candidate.port;
    proxyName = Utf8ToWideLenient(server + ":" + serverPort);
    PmLog(PM_LOG_DEBUG, L"Discovered proxy server information [server=%s port=%s]",
          Utf8ToWideLenient(server).c_str(), Utf8ToWideLenient(serverPort).c_str());
    status = CheckAuthenticatingProxy(input.silentMode);
    if (status != PM_STATUS_SUCCESS) continue;

    if (!user.empty()) {
      PmLog(PM_LOG_DEBUG, L"Authenticating proxy server detected with credentials [user=%s password=****]",
            Utf8ToWideLenient(user).c_str());
    } else {
      PmLog(PM_LOG_DEBUG, L"No authenticating proxy server detected.");
    }
    FillProxyInfo(user, password, server, serverPort, authScheme, output);
    return ReportStatus(status, output);
  }
  PmLog(PM_LOG_DEBUG, L"No VALID proxy servers detected.");
  return ReportStatus(status, output);
}

}  // namespace ORVK::ProxyManager
