#include "proxy/ProxyManager.h"

#include <exception>

#include "proxy/ProxyManagerImplWin.h"

namespace ORVK::ProxyManager {

PmStatus orvkGetProxyInfo(const UserData* input, ProxyInfo* output) {
  if (input == nullptr || output == nullptr) return PM_STATUS_INVALID_INPUT;
  // The callers are C-style: nothing may escape, not even an allocation failure.
  try {
    ProxyManagerImplWin manager;
    return manager.GetProxyInfo(*input, *output);
  } catch (const std::exception&) {
    return PM_STATUS_API_FAILURE;
  }
}

void orvkFreeProxyInfo(ProxyInfo* info) {
  if (info == nullptr) return;
  for (char** text : {&info->server, &info->serverPort, &info->user, &info->password}) {
    delete[] *text;
    *text = nullptr;
  }
  info->authScheme = 0;
}

}  // namespace ORVK::ProxyManager
