// The entry points' handling of the caller's records.

#include <gtest/gtest.h>

#include <cstring>

#include "proxy/ProxyManager.h"
#include "proxy/ProxyManagerImplWin.h"

namespace ORVK::ProxyManager {
namespace {

char* Copy(const char* text) {
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}

void ExpectCleared(const ProxyInfo& info) {
  EXPECT_EQ(nullptr, info.user);
  EXPECT_EQ(nullptr, info.password);
  EXPECT_EQ(nullptr, info.server);
  EXPECT_EQ(nullptr, info.serverPort);
  EXPECT_EQ(0u, info.authScheme);
}

TEST(ProxyRecords, MissingRecordsAreInvalidInput) {
  UserData input;
  input.url = "http://localhost/";
  ProxyInfo output;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(nullptr, &output));
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, nullptr));
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(nullptr, nullptr));
}

TEST(ProxyRecords, MissingOrEmptyUrlIsInvalidAndClearsTheAnswer) {
  for (const char* url : {static_cast<const char*>(nullptr), ""}) {
    UserData input;
    input.url = url;
    char stale[] = "stale";
    ProxyInfo output;
    output.server = stale;  // not the manager's: it must be dropped, not freed
    output.authScheme = 7;
    EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, &output));
    ExpectCleared(output);
  }
}

TEST(ProxyRecords, UrlThatIsNotUtf8IsInvalidInput) {
  UserData input;
  input.url = "http://h\xe9te.example/";
  ProxyInfo output;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, &output));
  ExpectCleared(output);
}

TEST(ProxyRecords, CredentialsThatAreNotUtf8AreInvalidInput) {
  UserData input;
  input.url = "http://localhost/";
  input.user = "\xff";
  ProxyInfo output;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, &output));
  input.user = "u";
  input.password = "p\xc3";
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, orvkGetProxyInfo(&input, &output));
}

TEST(ProxyRecords, FreeReleasesEveryTextAndResets) {
  ProxyInfo info;
  info.user = Copy("u");
  info.password = Copy("p");
  info.server = Copy("127.0.0.1");
  info.serverPort = Copy("8080");
  info.authScheme = 1;
  orvkFreeProxyInfo(&info);
  ExpectCleared(info);
}

TEST(ProxyRecords, FreeOnAClearedOrPartlyFilledRecord) {
  ProxyInfo info;
  orvkFreeProxyInfo(&info);
  ExpectCleared(info);
  info.server = Copy("proxy");
  orvkFreeProxyInfo(&info);
  ExpectCleared(info);
  orvkFreeProxyInfo(nullptr);
}

TEST(ProxyRecords, ProbeRefusesAnEmptyUrlOrProxyName) {
  ProxyManagerImplWin manager;
  EXPECT_EQ(PM_STATUS_INVALID_INPUT, manager.CheckAuthenticatingProxy(true));
}

TEST(ProxyRecords, AutoDetectWithoutMethodGivesNoList) {
  ProxyManagerImplWin manager;
  std::wstring list = L"old";
  EXPECT_FALSE(manager.AutoDetectProxyInfo(false, L"", list));
}

}  // namespace
}  // namespace ORVK::ProxyManager
