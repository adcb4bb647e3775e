// The entry points' handling of the caller's records.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "proxy/ProxyManager.h"
#include "proxy/ProxyManagerImplWin.h"

// Array allocations of this test program can be made to fail: after
// gArraysBeforeFailure more succeed, the next one throws (-1: never).
namespace {
std::atomic<int> gArraysBeforeFailure{-1};
std::atomic<int> gLiveArrays{0};
}  // namespace

void* operator new[](std::size_t size) {
  const int left = gArraysBeforeFailure.load();
  if (left == 0) throw std::bad_alloc();
  if (left > 0) gArraysBeforeFailure = left - 1;
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) throw std::bad_alloc();
  ++gLiveArrays;
  return block;
}
void operator delete[](void* block) noexcept {
  if (block == nullptr) return;
  --gLiveArrays;
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept { operator delete[](block); }

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

TEST(ProxyRecords, AnAnswerIsCopiedWholeOrNotAtAllAndFreedWhole) {
  for (int succeeding = 0; succeeding < 4; ++succeeding) {
    ProxyInfo output;
    const int live = gLiveArrays.load();
    gArraysBeforeFailure = succeeding;
    EXPECT_THROW(ProxyManagerImpl::FillProxyInfo("user", "secret", "proxy", "8080", 1, output), std::bad_alloc);
    gArraysBeforeFailure = -1;
    EXPECT_EQ(gLiveArrays.load(), live) << "copies left after " << succeeding << " succeeded";
    ExpectCleared(output);
  }
  ProxyInfo output;
  const int live = gLiveArrays.load();
  ProxyManagerImpl::FillProxyInfo("user", "secret", "proxy", "8080", 1, output);
  EXPECT_STREQ(output.user, "user");
  EXPECT_STREQ(output.password, "secret");
  EXPECT_STREQ(output.server, "proxy");
  EXPECT_STREQ(output.serverPort, "8080");
  EXPECT_EQ(output.authScheme, 1u);
  // Freeing releases every text and resets the record, which can be freed again.
  orvkFreeProxyInfo(&output);
  EXPECT_EQ(gLiveArrays.load(), live);
  ExpectCleared(output);
  orvkFreeProxyInfo(&output);
  orvkFreeProxyInfo(nullptr);
}

TEST(ProxyRecords, ProbeWithoutUrlAndAutoDetectWithoutMethodFail) {
  ProxyManagerImplWin manager;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, manager.CheckAuthenticatingProxy(true));
  std::wstring list = L"old";
  EXPECT_FALSE(manager.AutoDetectProxyInfo(false, L"", list));
}

}  // namespace
}  // namespace ORVK::ProxyManager
