#include "proxy/CredentialSearch.h"

#include <gtest/gtest.h>

namespace ORVK::ProxyManager {
namespace {

using Source = CredentialSource;
using Step = RefusalStep;

TEST(CredentialSearch, TheCallersCredentialsComeFirstAndAreStoredOnceTheProxyTakesThem) {
  const CredentialSearch caller = FirstCredentials(true, true);
  EXPECT_EQ(caller.source, Source::kCaller);
  EXPECT_TRUE(caller.saveOnSuccess);
  // Refused: the store is asked once, then the user.
  EXPECT_EQ(AfterRefusal(caller, false), Step::kTryStored);
  EXPECT_EQ(AfterRefusal(Retried(caller, Source::kNone), false), Step::kAsk);
  EXPECT_EQ(AfterRefusal(Retried(caller, Source::kNone), true), Step::kFailSilent);
}

// A stored record that the proxy takes at once is not written again; one it
// refuses is deleted before the dialog, never offered twice.
TEST(CredentialSearch, ARefusedStoredRecordIsForgottenBeforeTheUserIsAsked) {
  const CredentialSearch stored = FirstCredentials(false, true);
  EXPECT_EQ(stored.source, Source::kStore);
  EXPECT_FALSE(stored.saveOnSuccess);
  EXPECT_EQ(AfterRefusal(stored, false), Step::kForgetStoredAndAsk);
  EXPECT_EQ(AfterRefusal(stored, true), Step::kFailSilent);

  const CredentialSearch typed = Retried(stored, Source::kDialog);
  EXPECT_TRUE(typed.saveOnSuccess);
  EXPECT_EQ(AfterRefusal(typed, false), Step::kAsk);
}

TEST(CredentialSearch, WithoutCredentialsTheStoreIsAskedAfterTheFirstRefusal) {
  const CredentialSearch none = FirstCredentials(false, false);
  EXPECT_EQ(none.source, Source::kNone);
  EXPECT_FALSE(none.saveOnSuccess);  // an open proxy leaves the store alone
  EXPECT_EQ(AfterRefusal(none, true), Step::kTryStored);
  const CredentialSearch fromStore = Retried(none, Source::kStore);
  EXPECT_TRUE(fromStore.saveOnSuccess);
  EXPECT_EQ(AfterRefusal(fromStore, false), Step::kForgetStoredAndAsk);
}

}  // namespace
}  // namespace ORVK::ProxyManager
