#pragma once
// Fetches one URL over HTTP or HTTPS with one GET request through WinHTTP and
// writes the body into a local file, telling a callback handler the percentage
// received after every read (of at least kReadBlockBytes while the body has
// more). Asks the proxy manager first how to reach the URL. Made by
// CDownloadManager; serves one URL and one file, then is released.
//
// A body that breaks off (a failed read, a stall longer than the clock's receive
// timeout, fewer bytes than announced) costs an attempt like a failed request.
// When its answer named a length, a validator and byte ranges (ResumeRules),
// the next attempt asks for the rest with Range and If-Range and appends a 206
// that continues the file exactly; any other answer (200, another range, 416)
// starts the body again from zero. A partial file that a killed run of the same
// target and URL left with its record is continued the same way from the first
// attempt on (DownloadFile). Progress is a percentage of the whole body and the
// progress told never goes back. A download that fails removes the file it was
// writing: what is left at the path after a failure is never a body that looks
// complete.

#include <cstdint>
#include <optional>
#include <string>

#include "base/Handles.h"
#include "catalog/Sha256Pin.h"
#include "download/DownloadFile.h"
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
  // Sends the request (up to 4 attempts, 3000 ms apart after a failed send,
  // response or body; proxy credentials on 407) and on status 200 receives the body.
  // Call once, after a successful connect.
  bool request();
  // Keeps the body only when its SHA-256 is pin (DownloadFile); a mismatch
  // fails the download for good. Call before request.
  void expectSha256(const Catalog::Sha256Digest& pin) { pin_ = pin; }

 private:
  // How a body ended: complete and in place, broken off (another attempt may
  // fetch it) or failed for good (the file, memory).
  enum class Body { kComplete, kBroken, kFailed };

  // Reads a body into the file from byte offset on: the rest of the body in
  // the file when offset > 0, else a whole one, which empties the file first.
  // contentLength is the whole body's.
  Body receive(std::uint64_t offset, std::optional<std::uint64_t> contentLength);
  // Adds Range and If-Range to the request handle.
  void askForRest(std::uint64_t offset, const std::wstring& validator);
  // Opens the GET request handle (again), with the receive timeout and the
  // proxy credentials that an earlier 407 called for.
  void openRequest();
  void setProxyCredentials(unsigned long scheme);
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
  std::optional<std::wstring> objectName_;
  unsigned long requestFlags_ = 0;
  std::optional<unsigned long> proxyAuthScheme_;
  CallbackHandler* handler_;
  std::optional<Catalog::Sha256Digest> pin_;
  // Made when request() begins; emptied for each whole body, kept for a continued one.
  std::optional<DownloadFile> file_;
  // The highest progress told so far: a body that starts again repeats it until it passes it.
  double shownPercent_ = 0;
  std::uint64_t shownReceived_ = 0;
};

}  // namespace GenericStub
