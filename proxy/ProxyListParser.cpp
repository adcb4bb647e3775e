#include "proxy/ProxyListParser.h"

#include <regex>

#include "base/AsciiCase.h"
#include "proxy/Utf8Text.h"

namespace ORVK::ProxyManager {

using Base::EqualsIgnoringAsciiCase;

namespace {

constexpr auto kRegexFlags = std::regex_constants::ECMAScript | std::regex_constants::icase;

// At each position the names are tried in this order, so "https=" reads as https.
const std::wregex& SchemePrefix() {
  static const std::wregex prefix(L"(http|https|ftp|socks)(=|://)", kRegexFlags);
  return prefix;
}

}  // namespace

bool FetchServerInfo(const std::wstring& url, const std::wstring& list,
                     std::vector<ProxyCandidate>& candidates, PmLogSink& log) {
  log.write(PM_LOG_DEBUG, L"Performing 'FetchServerInfo' ...");
  candidates.clear();
  if (list.empty()) {
    log.write(PM_LOG_ERROR, L"Proxy server info is empty!");
    return false;
  }
  std::wstring type;
  std::string defaultPort;
  GetServerTypeStrAndDefaultPort(url, type, defaultPort, log);
  std::wstring servers = list;
  if (!ExtractServerData(type, servers, log)) return false;
  return ParseServerAndPortInfo(defaultPort, servers, candidates, log);
}

bool GetServerTypeStrAndDefaultPort(const std::wstring& url, std::wstring& type,
                                    std::string& defaultPort, PmLogSink& log) {
  log.write(PM_LOG_DEBUG, L"Performing 'GetServerTypeStrAndDefaultPort' ...");
  type = L"https";
  defaultPort = "443";
  static const std::wregex scheme(L"(http|https|ftp|socks)(://)(.*)", kRegexFlags);
  std::wsmatch match;
  if (!std::regex_match(url, match, scheme)) return true;
  const std::wstring name = match.str(1);
  if (EqualsIgnoringAsciiCase(name, L"http")) {
    type = L"http", defaultPort = "80";
  } else if (EqualsIgnoringAsciiCase(name, L"ftp")) {
    type = L"ftp", defaultPort = "21";
  } else if (EqualsIgnoringAsciiCase(name, L"socks")) {
    type = L"socks", defaultPort = "1080";
  }
  return true;
}

bool ExtractServerData(const std::wstring& type, std::wstring& list, PmLogSink& log) {
  log.write(PM_LOG_DEBUG, L"Performing 'ExtractServerData' ...");
  log.write(PM_LOG_DEBUG, L"Proxy server information is: " + list);
  std::wsmatch match;
  if (!std::regex_search(list, match, SchemePrefix(), std::regex_constants::match_continuous)) {
    return true;
  }
  while (std::regex_search(list, match, SchemePrefix())) {
    const std::wstring name = match.str(1);
    list = match.suffix().str();
    if (EqualsIgnoringAsciiCase(name, type)) {
      if (std::regex_search(list, match, SchemePrefix())) {
        list.erase(static_cast<size_t>(match.position(0)));
      }
      return true;
    }
  }
  if (list.empty()) {
    log.write(PM_LOG_ERROR,
              L"Failed to detect correct proxy server info of format like 'https://' or 'https='");
  }
  return false;
}

bool ParseServerAndPortInfo(const std::string& defaultPort, const std::wstring& list,
                            std::vector<ProxyCandidate>& candidates, PmLogSink& log) {
  log.write(PM_LOG_DEBUG, L"Performing 'ParseServerAndPortInfo' ...");
  std::vector<std::wstring> pieces;
  if (!SplitText(list, L';', pieces)) {
    log.write(PM_LOG_ERROR, L"Failed while splitting proxy server collection: '" + list +
                                L"' into vector of proxy server");
    return false;
  }
  for (const std::wstring& piece : pieces) {
    std::vector<std::wstring> parts;
    if (!SplitText(piece, L':', parts)) {
      log.write(PM_LOG_DEBUG,
                L"Failed while splitting proxy: '" + piece + L"' into proxy server and port");
      continue;
    }
    if (parts.size() == 1) {
      candidates.push_back({WideToUtf8Lenient(parts[0]), defaultPort});
    } else if (parts.size() == 2) {
      candidates.push_back({WideToUtf8Lenient(parts[0]), WideToUtf8Lenient(parts[1])});
    } else {
      // An IPv6 address: only a colon after the closing bracket starts a port.
      const size_t bracket = piece.rfind(L']');
      const size_t colon = piece.rfind(L':');
      if (bracket == std::wstring::npos || bracket > colon) {
        candidates.push_back({WideToUtf8Lenient(piece), defaultPort});
      } else {
        const std::wstring port = piece.substr(colon + 1);
        candidates.push_back({WideToUtf8Lenient(piece.substr(0, colon)),
                              port.empty() ? defaultPort : WideToUtf8Lenient(port)});
      }
    }
  }
  return true;
}

bool SplitText(const std::wstring& text, wchar_t separator, std::vector<std::wstring>& pieces) {
  pieces.clear();
  if (text.empty() || separator == L'\0') return false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(separator, start);
    if (end == std::wstring::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace ORVK::ProxyManager
