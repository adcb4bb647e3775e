#pragma once
// Fetches one URL over HTTP or HTTPS with one GET request through WinHTTP and
// writes the body into a local file, telling a callback handler the percentage
// received after every chunk. Asks the proxy manager first how to reach the
// URL. Made by CDownloadManager; serves one URL and one file, then is released.
//
// A download that fails removes the file it was writing: what is left at the
// path after a failure is never a body that looks complete.

#include <cstdint>
#include <optional>
#include <string>

#include "base/Handles.h"
#include "workflow/CallbackHandler.h"

namespace GenericStub {

class CDownloader {
 public:
  // handler may be null: then no progress is told. It must outlive the downloader.
  CDownloader(std::wstring url, std::wstring filePath, CallbackHandler* handler);
  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  // Proxy lookup, session, URL cracking, connection and request handle. Call once, first.
  bool connect();
  // Sends the request (up to 4 attempts, 3000 ms apart after a failed send or
  // receive; proxy credentials on 407) and on status 200 receives the body.
  // Call once, after a successful connect.
  bool request();

 private:
  bool receive(std::optional<std::uint64_t> contentLength);
  void reportProgress(std::uint64_t received, std::optional<std::uint64_t> contentLength);

  // Destroyed last to first: request, connection, session.
  Base::WinHttpHandle session_;
  Base::WinHttpHandle connection_;
  Base::WinHttpHandle request_;
  std::wstring url_;
  std::wstring filePath_;
  std::optional<std::wstring> proxyServer_;
  std::optional<std::wstring> proxyPort_;
  std::optional<std::wstring> proxyUser_;
  std::optional<std::wstring> proxyPassword_;
  std::optional<std::wstring> proxyName_;
  std::wstring hostName_;
  CallbackHandler* handler_;
};

}  // namespace GenericStub
