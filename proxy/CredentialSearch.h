#pragma once
// The credential search of one proxy probe, as values: which credentials are
// tried first, what the proxy's refusal (407) leads to, and whether the
// credentials it finally takes are stored. The WinHTTP loop that asks the
// proxy, the store and the user is ProxyManagerImplWin::CheckAuthenticatingProxy.

namespace ORVK::ProxyManager {

enum class CredentialSource { kNone, kCaller, kStore, kDialog };

struct CredentialSearch {
  CredentialSource source = CredentialSource::kNone;  // of the credentials being tried
  bool storeConsulted = false;  // once it has been, a refusal goes to the user
  bool saveOnSuccess = false;   // credentials that the proxy asked for are stored once it takes them
};

enum class RefusalStep {
  kTryStored,           // ask the store; when it has nothing, Retried(kNone) and decide again
  kAsk,                 // show the credential dialog
  kForgetStoredAndAsk,  // the stored record was refused: delete it, then ask
  kFailSilent,          // credentials are needed but no dialog may be shown
};

// The caller's credentials when it named a user, else the stored record when there is one.
CredentialSearch FirstCredentials(bool callerNamedUser, bool storeHasRecord);

// What follows the proxy's refusal of the credentials being tried.
RefusalStep AfterRefusal(const CredentialSearch& search, bool silentMode);

// The search once the next credentials (from the store, or from the dialog) are
// being tried after a refusal; kNone when the store was asked and had nothing.
CredentialSearch Retried(const CredentialSearch& search, CredentialSource next);

}  // namespace ORVK::ProxyManager
