#include "proxy/ProxyManagerImpl.h"

#include <string>

#include "proxy/PmLog.h"
#include "proxy/Utf8Text.h"

namespace ORVK::ProxyManager {
namespace {

std::wstring Text(const char* text) { return text == nullptr ? std::wstring() : Utf8ToWideLenient(text); }

}  // namespace

PmStatus ProxyManagerImpl::ValidateInput(const UserData& input, ProxyInfo& output) {
  ResetProxyInfo(output);
  if (input.url == nullptr || input.url[0] == '\0') return PM_STATUS_INVALID_INPUT;
  return PM_STATUS_SUCCESS;
}

void ProxyManagerImpl::ResetProxyInfo(ProxyInfo& output) {
  output.user = nullptr;
  output.password = nullptr;
  output.server = nullptr;
  output.serverPort = nullptr;
  output.authScheme = 0;
}

PmStatus ProxyManagerImpl::ReportStatus(PmStatus status, const ProxyInfo& output) {
  PmLog(PM_LOG_INFO, "PMStatus:%d", status);
  if (status == PM_STATUS_SUCCESS) {
    PmLog(PM_LOG_INFO, L"Output: [server=%s serverPort=%s user=%s password=**** authScheme=%lu]",
          Text(output.server).c_str(), Text(output.serverPort).c_str(), Text(output.user).c_str(),
          static_cast<unsigned long>(output.authScheme));
  }
  return status;
}

}  // namespace ORVK::ProxyManager
