#include "proxy/ProxyManagerImpl.h"

#include <cstring>
#include <memory>
#include <string>

#include "base/Utf8Text.h"
#include "proxy/PmLog.h"

namespace ORVK::ProxyManager {

using Base::Utf8ToWideLenient;

namespace {

std::wstring Text(const char* text) { return text == nullptr ? std::wstring() : Utf8ToWideLenient(text); }

std::unique_ptr<char[]> HeapCopy(const std::string& text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

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

void ProxyManagerImpl::FillProxyInfo(const std::string& user, const std::string& password,
                                     const std::string& server, const std::string& serverPort,
                                     uint32_t authScheme, ProxyInfo& output) {
  std::unique_ptr<char[]> userCopy = HeapCopy(user);
  std::unique_ptr<char[]> passwordCopy = HeapCopy(password);
  std::unique_ptr<char[]> serverCopy = HeapCopy(server);
  std::unique_ptr<char[]> portCopy = HeapCopy(serverPort);
  output.user = userCopy.release();
  output.password = passwordCopy.release();
  output.server = serverCopy.release();
  output.serverPort = portCopy.release();
  output.authScheme = authScheme;
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
