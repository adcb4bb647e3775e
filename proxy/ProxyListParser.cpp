#include "proxy/ProxyListParser.h"

#include <initializer_list>
#include <optional>
#include <string_view>

#include "base/AsciiCase.h"
#include "base/Utf8Text.h"

namespace ORVK::ProxyManager {

using Base::EqualsIgnoringAsciiCase;
using Base::WideToUtf8Lenient;

namespace {

// Proxy lists and URLs reach these rules from the network (PAC, WPAD) and can be
// as long as their sender likes: they are scanned in loops. libstdc++'s regex
// matcher recurses once per character that a ".*" takes, so a URL of a few
// thousand characters overflowed the worker thread's stack.

// At each position the names are tried in this order, so "https=" reads as https.
constexpr std::wstring_view kSchemeNames[] = {L"http", L"https", L"ftp", L"socks"};

struct SchemePrefix {
  std::wstring_view name;  // as the text writes it
  size_t position = 0;     // where the name starts
  size_t length = 0;       // of the name and its separator
};

// A scheme name at position at, followed by one of the separators.
std::optional<SchemePrefix> SchemePrefixAt(std::wstring_view text, size_t at,
                                           std::initializer_list<std::wstring_view> separators) {
  for (const std::wstring_view name : kSchemeNames) {
    if (text.size() - at < name.size() || !EqualsIgnoringAsciiCase(text.substr(at, name.size()), name)) {
      continue;
    }
    for (const std::wstring_view separator : separators) {
      if (text.substr(at + name.size(), separator.size()) == separator) {
        return SchemePrefix{text.substr(at, name.size()), at, name.size() + separator.size()};
      }
    }
  }
  return std::nullopt;
}

// The leftmost entry prefix ("<scheme>=" or "<scheme>://") of text at or after from.
std::optional<SchemePrefix> FindEntryPrefix(std::wstring_view text, size_t from) {
  for (size_t at = from; at < text.size(); ++at) {
    if (auto prefix = SchemePrefixAt(text, at, {L"=", L"://"})) return prefix;
  }
  return std::nullopt;
}

bool IsLineTerminator(wchar_t c) { return c == L'\n' || c == L'\r' || c == 0x2028 || c == 0x2029; }

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
  // "<scheme>://" and a rest of one line, as a URL is.
  const std::optional<SchemePrefix> scheme = SchemePrefixAt(url, 0, {L"://"});
  if (!scheme) return true;
  for (size_t i = scheme->length; i < url.size(); ++i) {
    if (IsLineTerminator(url[i])) return true;
  }
  const std::wstring_view name = scheme->name;
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
  if (!SchemePrefixAt(list, 0, {L"=", L"://"})) return true;
  // The list is cut down to [start, end) once, when the answer is known.
  size_t start = 0;
  while (const std::optional<SchemePrefix> entry = FindEntryPrefix(list, start)) {
    start = entry->position + entry->length;
    if (EqualsIgnoringAsciiCase(entry->name, type)) {
      const std::optional<SchemePrefix> next = FindEntryPrefix(list, start);
      list = list.substr(start, next ? next->position - start : std::wstring::npos);
      return true;
    }
  }
  list.erase(0, start);
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
