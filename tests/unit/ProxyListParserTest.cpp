#include "proxy/ProxyListParser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <utility>
#include <vector>

namespace ORVK::ProxyManager {
namespace {

struct RecordedLog : PmLogSink {
  std::vector<std::pair<int, std::wstring>> lines;
  void write(int level, const std::wstring& message) override { lines.emplace_back(level, message); }
  int count(int level) const {
    int n = 0;
    for (const auto& line : lines) n += line.first == level ? 1 : 0;
    return n;
  }
  bool has(int level, const std::wstring& message) const {
    for (const auto& line : lines) {
      if (line.first == level && line.second == message) return true;
    }
    return false;
  }
};

using Candidates = std::vector<ProxyCandidate>;

Candidates Fetch(const std::wstring& url, const std::wstring& list, bool expected = true,
                 RecordedLog* log = nullptr) {
  RecordedLog local;
  RecordedLog& sink = log != nullptr ? *log : local;
  Candidates candidates;
  EXPECT_EQ(expected, FetchServerInfo(url, list, candidates, sink)) << "list: " << std::string(list.begin(), list.end());
  return candidates;
}

// ---- The URL's scheme decides the default port and the list part taken ----

TEST(ProxyListByUrlScheme, HostWithoutPortGetsTheDefaultPortOfTheUrlsScheme) {
  EXPECT_EQ((Candidates{{"proxy", "80"}}), Fetch(L"http://example.com/a", L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "443"}}), Fetch(L"https://example.com/a", L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "21"}}), Fetch(L"ftp://example.com/a", L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "1080"}}), Fetch(L"socks://example.com", L"proxy"));
}

TEST(ProxyListByUrlScheme, AUrlWithoutAKnownSchemeIsTakenAsHttps) {
  EXPECT_EQ((Candidates{{"proxy", "443"}}), Fetch(L"example.com/a", L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "443"}}), Fetch(L"gopher://example.com/", L"proxy"));
}

TEST(ProxyListByUrlScheme, UrlSchemeIsReadWithoutRegardToCase) {
  EXPECT_EQ((Candidates{{"proxy", "80"}}), Fetch(L"HTTP://example.com/a", L"proxy"));
  std::wstring type;
  std::string port;
  RecordedLog log;
  EXPECT_TRUE(GetServerTypeStrAndDefaultPort(L"FtP://host/x", type, port, log));
  EXPECT_EQ(L"ftp", type);
  EXPECT_EQ("21", port);
}

TEST(ProxyListByUrlScheme, ExplicitPortIsKept) {
  EXPECT_EQ((Candidates{{"proxy", "8080"}}), Fetch(L"https://example.com/", L"proxy:8080"));
}

// ---- Scheme-prefixed lists keep only the wanted scheme's servers ----

TEST(SchemePrefixedList, EachUrlSchemeGetsItsOwnEntry) {
  EXPECT_EQ((Candidates{{"p2", "443"}}), Fetch(L"https://x/", L"http=p1:80;https=p2:443"));
  EXPECT_EQ((Candidates{{"p1", "80"}}), Fetch(L"http://x/", L"http=p1:80;https=p2:443"));
  EXPECT_EQ((Candidates{{"p1", "80"}}), Fetch(L"http://x/", L"https=p2:443;http=p1:80"));
}

TEST(SchemePrefixedList, ListIsCutBeforeTheNextSchemeEntry) {
  std::wstring list = L"http=p1:80;https=p2:443";
  RecordedLog log;
  ASSERT_TRUE(ExtractServerData(L"http", list, log));
  EXPECT_EQ(L"p1:80;", list);
  EXPECT_TRUE(log.has(PM_LOG_DEBUG, L"Proxy server information is: http=p1:80;https=p2:443"));
}

TEST(SchemePrefixedList, SchemeNamesAreComparedWithoutRegardToCase) {
  EXPECT_EQ((Candidates{{"p2", "443"}}), Fetch(L"https://x/", L"HTTPS=p2:443"));
  EXPECT_EQ((Candidates{{"p1", "80"}}), Fetch(L"http://x/", L"HtTpS=p2:443;hTTp=p1:80"));
}

TEST(SchemePrefixedList, SlashFormWorksLikeEquals) {
  EXPECT_EQ((Candidates{{"p2", "443"}}), Fetch(L"https://x/", L"https://p2:443"));
  EXPECT_EQ((Candidates{{"p1", "3128"}}), Fetch(L"http://x/", L"https://p2:443;http://p1:3128"));
}

TEST(SchemePrefixedList, SeveralServersOfTheWantedSchemeAreAllKept) {
  EXPECT_EQ((Candidates{{"a", "1"}, {"b", "2"}}), Fetch(L"http://x/", L"http=a:1;b:2;https=c:3"));
}

TEST(SchemePrefixedList, MissingWantedSchemeFailsWithoutErrorWhileServersRemain) {
  RecordedLog log;
  EXPECT_TRUE(Fetch(L"https://x/", L"ftp=p3:21", false, &log).empty());
  EXPECT_EQ(0, log.count(PM_LOG_ERROR));
}

TEST(SchemePrefixedList, NothingLeftAfterTheLastEntryFailsWithAnError) {
  RecordedLog log;
  EXPECT_TRUE(Fetch(L"https://x/", L"ftp=", false, &log).empty());
  EXPECT_TRUE(log.has(PM_LOG_ERROR,
                      L"Failed to detect correct proxy server info of format like 'https://' or 'https='"));
}

TEST(SchemePrefixedList, PlainListIsLeftUnchanged) {
  std::wstring list = L"host1:8080;host2:8080";
  RecordedLog log;
  ASSERT_TRUE(ExtractServerData(L"https", list, log));
  EXPECT_EQ(L"host1:8080;host2:8080", list);
}

TEST(SchemePrefixedList, APlainListWithASchemePrefixFurtherOnStaysPlain) {
  for (const std::wstring plain : {L"host1:8080;https=p2:443", L"host1:8080;http://p1:80", L" https=p2:443"}) {
    std::wstring list = plain;
    RecordedLog log;
    ASSERT_TRUE(ExtractServerData(L"https", list, log));
    EXPECT_EQ(plain, list);
  }
}

// ---- Texts of any length: PAC and WPAD answers come from the network ----

TEST(LongTexts, AHundredThousandCharacterUrlIsReadWithoutExhaustingTheStack) {
  const std::wstring path(100000, L'a');
  EXPECT_EQ((Candidates{{"proxy", "80"}}), Fetch(L"http://example.com/" + path, L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "21"}}), Fetch(L"FTP://example.com/" + path, L"proxy"));
  EXPECT_EQ((Candidates{{"proxy", "443"}}), Fetch(L"gopher://example.com/" + path, L"proxy"));
}

TEST(LongTexts, AHundredThousandCharacterListIsCutToItsScheme) {
  std::wstring list;
  while (list.size() < 100000) list += L"ftp=f:21;";
  list += L"https=p2:443;socks=s:1080";
  EXPECT_EQ((Candidates{{"p2", "443"}}), Fetch(L"https://x/", list));
  const std::wstring host(100000, L'h');
  EXPECT_EQ((Candidates{{std::string(100000, 'h'), "8080"}}), Fetch(L"http://x/", L"http=" + host + L":8080"));
}

// ---- Splitting into hosts and ports ----

TEST(ServerAndPortSplitting, EmptyPiecesAreSkippedWithOneDebugLineEach) {
  RecordedLog log;
  EXPECT_EQ((Candidates{{"p1", "80"}, {"p2", "81"}}), Fetch(L"https://x/", L"p1:80;;p2:81", true, &log));
  EXPECT_TRUE(log.has(PM_LOG_DEBUG, L"Failed while splitting proxy: '' into proxy server and port"));
  EXPECT_EQ(1, static_cast<int>(std::count_if(log.lines.begin(), log.lines.end(), [](const auto& line) {
              return line.second.find(L"Failed while splitting proxy:") == 0;
            })));
}

TEST(ServerAndPortSplitting, EntryWithoutPortGetsTheDefault) {
  EXPECT_EQ((Candidates{{"p1", "80"}, {"p2", "443"}}), Fetch(L"https://x/", L"p1:80;p2"));
}

TEST(ServerAndPortSplitting, OrderAndDuplicatesAreKept) {
  EXPECT_EQ((Candidates{{"b", "2"}, {"a", "1"}, {"b", "2"}}), Fetch(L"http://x/", L"b:2;a:1;b:2"));
}

TEST(ServerAndPortSplitting, SpacesAreNotTrimmed) {
  EXPECT_EQ((Candidates{{"a", " 1"}, {" b", "2"}}), Fetch(L"http://x/", L"a: 1; b:2"));
}

TEST(ServerAndPortSplitting, TrailingSeparatorAddsNoCandidate) {
  EXPECT_EQ((Candidates{{"p1", "80"}}), Fetch(L"http://x/", L"p1:80;"));
}

TEST(ServerAndPortSplitting, ListOfSeparatorsOnlyGivesNoCandidateButSucceeds) {
  EXPECT_TRUE(Fetch(L"http://x/", L";;").empty());
}

TEST(ServerAndPortSplitting, EmptyListFailsWithAnError) {
  RecordedLog log;
  EXPECT_TRUE(Fetch(L"http://x/", L"", false, &log).empty());
  EXPECT_TRUE(log.has(PM_LOG_ERROR, L"Proxy server info is empty!"));
}

TEST(ServerAndPortSplitting, NonAsciiHostComesBackAsUtf8) {
  EXPECT_EQ((Candidates{{"pr\xc3\xb6xy", "81"}}), Fetch(L"http://x/", L"pr\u00f6xy:81"));
}

// ---- IPv6 addresses ----

TEST(Ipv6Candidates, BracketedAddressWithPortIsSplitAtTheLastColon) {
  EXPECT_EQ((Candidates{{"[2001:db8::1]", "3128"}}), Fetch(L"https://x/", L"[2001:db8::1]:3128"));
  EXPECT_EQ((Candidates{{"[2001:db8::1]", "8080"}}), Fetch(L"http://x/", L"[2001:db8::1]:8080"));
}

TEST(Ipv6Candidates, AddressWithoutPortKeepsTheWholeTextAndTheDefaultPort) {
  EXPECT_EQ((Candidates{{"[2001:db8::1]", "443"}}), Fetch(L"https://x/", L"[2001:db8::1]"));
  EXPECT_EQ((Candidates{{"2001:db8::1", "80"}}), Fetch(L"http://x/", L"2001:db8::1"));
}

TEST(Ipv6Candidates, BracketedAddressWithEmptyPortGetsTheDefault) {
  EXPECT_EQ((Candidates{{"[::1]", "80"}}), Fetch(L"http://x/", L"[::1]:"));
}

TEST(Ipv6Candidates, MixedWithSchemeEntries) {
  EXPECT_EQ((Candidates{{"[::1]", "8080"}, {"v4", "443"}}),
            Fetch(L"https://x/", L"http=[::2]:80;https=[::1]:8080;v4"));
}

// ---- SplitText reads like lines of a stream ----

TEST(SplitTextPieces, PiecesFollowStreamLineRules) {
  std::vector<std::wstring> pieces;
  ASSERT_TRUE(SplitText(L";a;;b;", L';', pieces));
  EXPECT_EQ((std::vector<std::wstring>{L"", L"a", L"", L"b"}), pieces);
  ASSERT_TRUE(SplitText(L";", L';', pieces));
  EXPECT_EQ((std::vector<std::wstring>{L""}), pieces);
  ASSERT_TRUE(SplitText(L"abc", L';', pieces));
  EXPECT_EQ((std::vector<std::wstring>{L"abc"}), pieces);
}

TEST(SplitTextPieces, EmptyTextOrZeroSeparatorFails) {
  std::vector<std::wstring> pieces{L"old"};
  EXPECT_FALSE(SplitText(L"", L';', pieces));
  EXPECT_TRUE(pieces.empty());
  EXPECT_FALSE(SplitText(L"a;b", L'\0', pieces));
}

}  // namespace
}  // namespace ORVK::ProxyManager
