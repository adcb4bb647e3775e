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
  auto count(int level, const std::wstring& prefix = L"") const {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const auto& line) { return line.first == level && line.second.rfind(prefix, 0) == 0; });
  }
  bool has(int level, const std::wstring& message) const {
    return std::find(lines.begin(), lines.end(), std::make_pair(level, message)) != lines.end();
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

// The URL's scheme (any case; unknown or missing means https) decides the default
// port and the part of a scheme-prefixed list ("x=" or "x://", any case) taken.
TEST(ProxyListParser, CandidatesByUrlAndList) {
  const std::wstring longPath(100000, L'a');
  std::wstring longList;
  while (longList.size() < 100000) longList += L"ftp=f:21;";
  longList += L"https=p2:443;socks=s:1080";
  const std::wstring longHost(100000, L'h');
  const struct {
    std::wstring url, list;
    Candidates expected;
  } cases[] = {
      {L"http://example.com/a", L"proxy", {{"proxy", "80"}}},
      {L"https://example.com/a", L"proxy", {{"proxy", "443"}}},
      {L"ftp://example.com/a", L"proxy", {{"proxy", "21"}}},
      {L"socks://example.com", L"proxy", {{"proxy", "1080"}}},
      {L"example.com/a", L"proxy", {{"proxy", "443"}}},
      {L"gopher://example.com/", L"proxy", {{"proxy", "443"}}},
      {L"HTTP://example.com/a", L"proxy", {{"proxy", "80"}}},
      {L"http://x/", L"HtTpS=p2:443;hTTp=p1:80", {{"p1", "80"}}},
      {L"HTTP://x/", L"https://p2:443;http://p1:3128", {{"p1", "3128"}}},
      // A list that does not begin with an entry prefix is plain, whatever follows.
      {L"https://x/", L"host1:8080;https=p2:443", {{"host1", "8080"}, {"https=p2", "443"}}},
      {L"https://x/", L" https=p2:443", {{" https=p2", "443"}}},
      {L"http://x/", L"http=a:1;b:2;https=c:3", {{"a", "1"}, {"b", "2"}}},
      // PAC and WPAD answers come from the network: texts of any length, no recursion.
      {L"http://example.com/" + longPath, L"proxy", {{"proxy", "80"}}},
      {L"gopher://example.com/" + longPath, L"proxy", {{"proxy", "443"}}},
      {L"https://x/", longList, {{"p2", "443"}}},
      {L"http://x/", L"http=" + longHost + L":8080", {{std::string(100000, 'h'), "8080"}}},
      // Splitting into hosts and ports.
      {L"https://x/", L"p1:80;p2", {{"p1", "80"}, {"p2", "443"}}},
      {L"http://x/", L"b:2;a:1;b:2", {{"b", "2"}, {"a", "1"}, {"b", "2"}}},
      {L"http://x/", L"a: 1; b:2", {{"a", " 1"}, {" b", "2"}}},
      {L"http://x/", L"p1:80;", {{"p1", "80"}}},
      {L"http://x/", L";;", {}},
      {L"http://x/", L"pr\u00f6xy:81", {{"pr\xc3\xb6xy", "81"}}},
      // IPv6: split at the last colon only after a closing bracket.
      {L"https://x/", L"[2001:db8::1]:3128", {{"[2001:db8::1]", "3128"}}},
      {L"https://x/", L"[2001:db8::1]", {{"[2001:db8::1]", "443"}}},
      {L"http://x/", L"2001:db8::1", {{"2001:db8::1", "80"}}},
      {L"http://x/", L"[::1]:", {{"[::1]", "80"}}},
      {L"https://x/", L"http=[::2]:80;https=[::1]:8080;v4", {{"[::1]", "8080"}, {"v4", "443"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, Fetch(c.url, c.list)) << std::string(c.list.begin(), c.list.begin() + std::min<size_t>(c.list.size(), 60));
  }
}

TEST(ProxyListParser, FailuresAndTheirLogLines) {
  RecordedLog missing;
  EXPECT_TRUE(Fetch(L"https://x/", L"ftp=p3:21", false, &missing).empty());
  EXPECT_EQ(0, missing.count(PM_LOG_ERROR));

  RecordedLog nothingLeft;
  EXPECT_TRUE(Fetch(L"https://x/", L"ftp=", false, &nothingLeft).empty());
  EXPECT_TRUE(nothingLeft.has(PM_LOG_ERROR,
                              L"Failed to detect correct proxy server info of format like 'https://' or 'https='"));

  RecordedLog empty;
  EXPECT_TRUE(Fetch(L"http://x/", L"", false, &empty).empty());
  EXPECT_TRUE(empty.has(PM_LOG_ERROR, L"Proxy server info is empty!"));

  // The list is split like lines of a stream: a final ";" ends the last piece.
  RecordedLog emptyPiece;
  EXPECT_EQ((Candidates{{"p1", "80"}, {"p2", "81"}}), Fetch(L"https://x/", L"p1:80;;p2:81;", true, &emptyPiece));
  EXPECT_TRUE(emptyPiece.has(PM_LOG_DEBUG, L"Proxy server information is: p1:80;;p2:81;"));
  EXPECT_TRUE(emptyPiece.has(PM_LOG_DEBUG, L"Failed while splitting proxy: '' into proxy server and port"));
  EXPECT_EQ(1, emptyPiece.count(PM_LOG_DEBUG, L"Failed while splitting proxy:"));
}

}  // namespace
}  // namespace ORVK::ProxyManager
