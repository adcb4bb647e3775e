#pragma once
// Turns a proxy list as Windows hands it over ("host:port", "a:1;b:2",
// "http=a:80;https=b:443", "https://b:443") into the ordered (server, port)
// candidates that serve one URL. Pure: log lines go to a PmLogSink.

#include <string>
#include <vector>

#include "proxy/PmLogLine.h"

namespace ORVK::ProxyManager {

struct ProxyCandidate {
  std::string server;  // UTF-8, exactly as in the list (IPv6 keeps its brackets)
  std::string port;    // decimal text
  bool operator==(const ProxyCandidate& other) const {
    return server == other.server && port == other.port;
  }
};

// The candidates of list for url, in list order, duplicates kept. False when
// the list is empty, holds no entry for the URL's scheme or cannot be split.
// True with no candidates when the list holds only separators.
bool FetchServerInfo(const std::wstring& url, const std::wstring& list,
                     std::vector<ProxyCandidate>& candidates, PmLogSink& log);

// The URL's scheme among http, https, ftp, socks and its default proxy port;
// https and 443 when the URL names none of them. Always true.
bool GetServerTypeStrAndDefaultPort(const std::wstring& url, std::wstring& type,
                                    std::string& defaultPort, PmLogSink& log);

// Keeps of a scheme-prefixed list only the part for type (possibly with a
// trailing ";"); a list that does not start with a scheme prefix stays as it is.
bool ExtractServerData(const std::wstring& type, std::wstring& list, PmLogSink& log);

// Splits a ";"-separated list into candidates; an entry without a port gets
// defaultPort. Empty entries are skipped.
bool ParseServerAndPortInfo(const std::string& defaultPort, const std::wstring& list,
                            std::vector<ProxyCandidate>& candidates, PmLogSink& log);

// The pieces between separators, read like lines of a stream: adjacent
// separators and a leading one give empty pieces, a final one gives none.
// False for an empty text or a zero separator.
bool SplitText(const std::wstring& text, wchar_t separator, std::vector<std::wstring>& pieces);

}  // namespace ORVK::ProxyManager
