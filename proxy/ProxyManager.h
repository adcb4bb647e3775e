#pragma once
// The proxy manager's entry points: how must a URL be reached, directly or
// through which proxy with which credentials.

#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {

// Returns PM_STATUS_INVALID_INPUT without writing any log line when either
// record is missing. Otherwise discovers the proxy configuration, probes the
// candidates (possibly showing the credential dialog unless input->silentMode)
// and returns the status; on PM_STATUS_SUCCESS *output is filled. The previous
// content of *output is overwritten, not released. Blocks, for WPAD for seconds.
PmStatus orvkGetProxyInfo(const UserData* input, ProxyInfo* output);

// Releases the texts of *info and resets it; a missing record is ignored.
void orvkFreeProxyInfo(ProxyInfo* info);

}  // namespace ORVK::ProxyManager
