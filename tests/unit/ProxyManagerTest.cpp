// The entry points' handling of the caller's records.

#include <gtest/gtest.h>

#include "proxy/ProxyManager.h"
#include "proxy/ProxyManagerImpl.h"

namespace ORVK::ProxyManager {
namespace {

void ExpectCleared(const ProxyInfo& info) {
  EXPECT_EQ(nullptr, info.user);
  EXPECT_EQ(nullptr, info.password);
  EXPECT_EQ(nullptr, info.server);
  EXPECT_EQ(nullptr, info.serverPort);
  EXPECT_EQ(0u, info.authScheme);
}

TEST(ProxyRecords, MissingRecordsOrBadTextsAreInvalidInputAndClearTheAnswer) {
  UserData input;
  input.url = "http://localhost/";
  ProxyInfo output;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(nullptr, &output));
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, nullptr));
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(nullptr, nullptr));
  const struct {
    const char *url, *user, *password;
  } cases[] = {{nullptr, nullptr, nullptr},          {"", nullptr, nullptr}, {"http://h\xe9te.example/", nullptr, nullptr},
               {"http://localhost/", "\xff", nullptr}, {"http://localhost/", "u", "p\xc3"}};
  for (const auto& c : cases) {
    input.url = c.url;
    input.user = c.user;
    input.password = c.password;
    char stale[] = "stale";
    output.server = stale;  // not the manager's: it must be dropped, not freed
    output.authScheme = 7;
    EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, &output)) << (c.url ? c.url : "null");
    ExpectCleared(output);
  }
}

TEST(ProxyRecords, AnAnswerIsCopiedAndFreeingClearsIt) {
  ProxyInfo output;
  ProxyManagerImpl::FillProxyInfo("user", "secret", "proxy", "8080", 1, output);
  EXPECT_STREQ(output.user, "user");
  EXPECT_STREQ(output.password, "secret");
  EXPECT_STREQ(output.server, "proxy");
  EXPECT_STREQ(output.serverPort, "8080");
  EXPECT_EQ(output.authScheme, 1u);
  // Freeing resets the record, which can then be freed again.
  orvkFreeProxyInfo(&output);
  ExpectCleared(output);
  orvkFreeProxyInfo(&output);
  orvkFreeProxyInfo(nullptr);
}

}  // namespace
}  // namespace ORVK::ProxyManager
