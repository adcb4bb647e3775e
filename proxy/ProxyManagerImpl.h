#pragma once
// The proxy manager's abstract base: input checks, clearing of the answer and
// the final status report that every platform's manager shares.

#include <cstdint>
#include <string>

#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {

class ProxyManagerImpl {
 public:
  ProxyManagerImpl() = default;
  virtual ~ProxyManagerImpl() = default;
  ProxyManagerImpl(const ProxyManagerImpl&) = delete;
  ProxyManagerImpl& operator=(const ProxyManagerImpl&) = delete;

  virtual PmStatus GetProxyInfo(const UserData& input, ProxyInfo& output) = 0;
  // Clears output (without releasing anything), then PM_STATUS_INVALID_INPUT
  // when the URL is missing or empty, else PM_STATUS_SUCCESS.
  virtual PmStatus ValidateInput(const UserData& input, ProxyInfo& output);
  // Sets every field of output to none or 0.
  virtual void ResetProxyInfo(ProxyInfo& output);
  // Fills output with heap copies of the texts (released by orvkFreeProxyInfo)
  // and the scheme. All or nothing: when a copy cannot be allocated, the copies
  // already made are freed, output is left as it was, and std::bad_alloc leaves.
  static void FillProxyInfo(const std::string& user, const std::string& password, const std::string& server,
                            const std::string& serverPort, uint32_t authScheme, ProxyInfo& output);

 protected:
  // Writes "PMStatus:<status>" and, on success, the answer without its password.
  PmStatus ReportStatus(PmStatus status, const ProxyInfo& output);
};

}  // namespace ORVK::ProxyManager
