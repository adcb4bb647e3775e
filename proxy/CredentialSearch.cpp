#include "proxy/CredentialSearch.h"

namespace ORVK::ProxyManager {

CredentialSearch FirstCredentials(bool callerNamedUser, bool storeHasRecord) {
  CredentialSearch search;
  if (callerNamedUser) {
    search.source = CredentialSource::kCaller;
    search.saveOnSuccess = true;
  } else if (storeHasRecord) {
    search.source = CredentialSource::kStore;
    search.storeConsulted = true;
  }
  return search;
}

RefusalStep AfterRefusal(const CredentialSearch& search, bool silentMode) {
  if (!search.storeConsulted) return RefusalStep::kTryStored;
  if (silentMode) return RefusalStep::kFailSilent;
  // Keeping a refused record would retry a known-bad password on every run
  // (account lockout); and the credential dialog may hand a stored record for
  // the same target straight back instead of asking (Wine does), which would
  // loop for ever.
  return search.source == CredentialSource::kStore ? RefusalStep::kForgetStoredAndAsk : RefusalStep::kAsk;
}

CredentialSearch Retried(const CredentialSearch& search, CredentialSource next) {
  CredentialSearch retried = search;
  retried.source = next;
  retried.storeConsulted = true;
  retried.saveOnSuccess = true;
  return retried;
}

}  // namespace ORVK::ProxyManager
