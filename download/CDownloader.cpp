#include "download/CDownloader.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "base/ExecutionLog.h"
#include "base/Utf8Text.h"
#include "download/Clock.h"
#include "download/DownloadFile.h"
#include "download/DownloadProgress.h"
#include "download/ProxyAuthChoice.h"
#include "download/ResumeRules.h"
#include "proxy/ProxyManager.h"
#include "workflow/CallbackMessage.h"

namespace GenericStub {

using Base::LogError;
using Base::LogInfo;
namespace Pm = ORVK::ProxyManager;

namespace {

constexpr int kAttempts = 4;
constexpr std::uint32_t kRetryWaitMilliseconds = 3000;
constexpr DWORD kRangeNotSatisfiable = 416;

// The proxy manager's texts are UTF-8.
std::optional<std::wstring> ProxyText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return Base::Utf8ToWideLenient(text);
}

std::optional<std::uint64_t> QueryContentLength(HINTERNET request) {
  // As text: the numeric form of the query holds 32 bits only.
  wchar_t text[32] = {};
  DWORD size = sizeof text;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return ParseContentLength(std::wstring(text, size / sizeof(wchar_t)));
}

// A header's value; empty when it is absent or longer than any value that is used.
std::wstring QueryText(HINTERNET request, DWORD query) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text, &size, WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  return std::wstring(text, size / sizeof(wchar_t));
}

// How the body of a 200 answer could be continued if it broke off: only with a
// known length and a validator for If-Range.
std::optional<ResumeRecord> RecordOfAnswer(HINTERNET request, const std::wstring& url,
                                           std::optional<std::uint64_t> length) {
  if (!length || *length == 0) return std::nullopt;
  std::optional<std::wstring> validator =
      ResumeValidator(QueryText(request, WINHTTP_QUERY_ETAG), QueryText(request, WINHTTP_QUERY_LAST_MODIFIED),
                      QueryText(request, WINHTTP_QUERY_ACCEPT_RANGES));
  if (!validator) return std::nullopt;
  return ResumeRecord{url, *length, std::move(*validator)};
}

// Windows reports a certificate it does not accept as 12175; Wine as 12157.
// Either way another attempt would meet the same certificate.
bool IsSecureFailure(DWORD error) {
  return error == ERROR_WINHTTP_SECURE_FAILURE || error == ERROR_WINHTTP_SECURE_CHANNEL_ERROR;
}

// Every secure failure ends in the same line; the code that is not 12175 gets
// a line of its own before it, so the log still tells which one it was.
void LogSecureFailure(DWORD error) {
  if (error != ERROR_WINHTTP_SECURE_FAILURE) {
    LogError(L"CDownloader::request: WinHttpSendRequest failed on the secure channel. last error = %d\n",
             static_cast<int>(error));
  }
  LogError(L"ERROR_WINHTTP_SECURE_FAILURE error occurred.\n");
}

}  // namespace

CDownloader::CDownloader(std::wstring url, std::wstring filePath, CallbackHandler* handler)
    : url_(std::move(url)), filePath_(std::move(filePath)), handler_(handler) {}

bool CDownloader::connect() {
  const std::string narrowUrl = Base::WideToUtf8Lenient(url_);
  Pm::UserData input;
  input.url = narrowUrl.c_str();
  Pm::ProxyInfo answer;
  const Pm::PmStatus status = Pm::orvkGetProxyInfo(&input, &answer);
  if (status != Pm::PM_STATUS_SUCCESS && status != Pm::PM_STATUS_NO_PROXY) {
    Pm::orvkFreeProxyInfo(&answer);
    LogError(L"Error in orvkGetProxyInfo, error code %u\n", static_cast<unsigned>(status));
    return false;
  }
  proxyServer_ = ProxyText(answer.server);
  proxyPort_ = ProxyText(answer.serverPort);
  proxyUser_ = ProxyText(answer.user);
  proxyPassword_ = ProxyText(answer.password);
  if (proxyServer_) proxyName_ = *proxyServer_ + L":" + proxyPort_.value_or(L"");
  Pm::orvkFreeProxyInfo(&answer);

  const bool viaProxy = status == Pm::PM_STATUS_SUCCESS && proxyName_;
  session_.reset(WinHttpOpen(L"TARNWICK_3_0", viaProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
                             viaProxy ? proxyName_->c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));

  std::vector<wchar_t> host(url_.size() + 1);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.lpszHostName = host.data();
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url_.c_str(), 0, 0, &parts)) {
    LogError(L"Error in WinHttpCrackUrl, GetLastError() = %u\n", static_cast<unsigned>(GetLastError()));
    return false;
  }
  hostName_.assign(host.data(), parts.dwHostNameLength);
  connection_.reset(WinHttpConnect(session_.get(), hostName_.c_str(), parts.nPort, 0));

  // The object name runs from the path to the end of the URL, so the query travels with it.
  if (parts.dwUrlPathLength > 0) {
    objectName_ = std::wstring(parts.lpszUrlPath);
  } else if (parts.dwExtraInfoLength > 0) {
    objectName_ = std::wstring(parts.lpszExtraInfo);
  }
  // TLS follows the scheme, whatever the port.
  requestFlags_ = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  openRequest();
  // A handle that failed to open shows up as a send failure in request().
  return true;
}

void CDownloader::openRequest() {
  request_.reset();
  request_.reset(WinHttpOpenRequest(connection_.get(), L"GET", objectName_ ? objectName_->c_str() : nullptr, nullptr,
                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, requestFlags_));
  if (!request_) return;
  // A body that stops arriving ends its attempt after this long without data.
  DWORD timeout = CurrentClock().receiveTimeoutMilliseconds();
  WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  if (proxyAuthScheme_) setProxyCredentials(*proxyAuthScheme_);
}

void CDownloader::setProxyCredentials(unsigned long scheme) {
  proxyAuthScheme_ = scheme;
  WinHttpSetCredentials(request_.get(), WINHTTP_AUTH_TARGET_PROXY, scheme, proxyUser_ ? proxyUser_->c_str() : nullptr,
                        proxyPassword_ ? proxyPassword_->c_str() : nullptr, nullptr);
}

void CDownloader::askForRest(std::uint64_t offset, const std::wstring& validator) {
  LogInfo(L"Asking for the body from byte [%I64u] on, if it is still [%s].\n", static_cast<unsigned long long>(offset),
          validator.c_str());
  const std::wstring headers = RangeRequestHeaders(offset, validator);
  WinHttpAddRequestHeaders(request_.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                           WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
}

bool CDownloader::request() {
  file_.emplace(filePath_, url_, pin_);
  DWORD status = 0;
  for (int remaining = kAttempts; remaining > 0; --remaining) {
    // The rest of a body that the file holds the start of, or the whole body.
    const ResumeRecord* record = file_->continuable();
    const std::uint64_t offset = record != nullptr ? file_->size() : 0;
    const std::uint64_t wholeLength = record != nullptr ? record->length : 0;
    if (record != nullptr) askForRest(offset, record->validator);
    if (!WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
      const DWORD error = GetLastError();
      if (IsSecureFailure(error)) {
        LogSecureFailure(error);
        return false;
      }
      LogError(L"CDownloader::request: WinHttpSendRequest failed. last error = %d\n", static_cast<int>(error));
      CurrentClock().sleep(kRetryWaitMilliseconds);
      // Each attempt after a failure gets a new request: Wine keeps a
      // request's connection after a reset and sends every later attempt of
      // that request on it again, failing each.
      openRequest();
      continue;
    }
    if (!WinHttpReceiveResponse(request_.get(), nullptr)) {
      LogError(L"CDownloader::request: WinHttpReceiveResponse failed. last error = %d\n",
               static_cast<int>(GetLastError()));
      CurrentClock().sleep(kRetryWaitMilliseconds);
      openRequest();
      continue;
    }
    DWORD queried = 0;
    DWORD size = sizeof queried;
    if (WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &queried, &size, WINHTTP_NO_HEADER_INDEX)) {
      status = queried;
      LogInfo(L"%d >> The return code for the http request = [%u].\n", remaining, static_cast<unsigned>(status));
    }
    const bool continues = offset > 0 && status == HTTP_STATUS_PARTIAL_CONTENT &&
                           ContinuesBody(QueryText(request_.get(), WINHTTP_QUERY_CONTENT_RANGE), offset, wholeLength);
    if (offset > 0 && !continues && (status == HTTP_STATUS_PARTIAL_CONTENT || status == kRangeNotSatisfiable)) {
      LogInfo(L"The answer does not continue the body at byte [%I64u]: the body starts again.\n",
              static_cast<unsigned long long>(offset));
      if (!file_->restart()) break;
      // A new request handle, without the range.
      openRequest();
      continue;
    }
    if (status == HTTP_STATUS_OK || continues) {
      const Body body = continues ? receive(offset, wholeLength) : receive(0, QueryContentLength(request_.get()));
      if (body == Body::kComplete) return true;
      if (body == Body::kBroken && remaining > 1) {
        CurrentClock().sleep(kRetryWaitMilliseconds);
        // A new request, so the next attempt gets a new connection and not the
        // one whose body broke off.
        openRequest();
        continue;
      }
      file_.reset();
      LogError(L"CDownloader::receive error!!!\n");
      return false;
    }
    if (status == HTTP_STATUS_PROXY_AUTH_REQ) {
      DWORD supported = 0;
      DWORD first = 0;
      DWORD target = 0;
      const DWORD scheme = WinHttpQueryAuthSchemes(request_.get(), &supported, &first, &target)
                               ? ChooseProxyAuthScheme(supported)
                               : WINHTTP_AUTH_SCHEME_BASIC;
      setProxyCredentials(scheme);
    }
  }
  file_.reset();
  return false;
}

CDownloader::Body CDownloader::receive(std::uint64_t offset, std::optional<std::uint64_t> contentLength) {
  LogInfo(L"Begin to receive binary from server.\n");
  if (!file_->isOpen()) return Body::kFailed;
  if (offset > 0) {
    if (!file_->continueAt(offset)) return Body::kFailed;
  } else {
    if (!file_->restart()) return Body::kFailed;
    // Written before the body, once the headers are here: a run killed from now on leaves what the next one needs.
    file_->setRecord(RecordOfAnswer(request_.get(), url_, contentLength));
  }

  // One buffer of at least a read block, grown to the largest chunk WinHTTP
  // offers: memory follows the chunk size, not the body size.
  std::vector<std::uint8_t> buffer;
  std::uint64_t received = offset;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request_.get(), &available)) {
      LogError(L"Error in WinHttpQueryDataAvailable, GetLastError() = [%d].\n", static_cast<int>(GetLastError()));
      return Body::kBroken;
    }
    if (available > 0) {
      const DWORD wanted = ReadSize(available, received, contentLength);
      try {
        if (buffer.size() < wanted) buffer.resize(wanted);
      } catch (const std::bad_alloc&) {
        LogError(L"Out of memory.\n");
        return Body::kFailed;
      }
      DWORD read = 0;
      if (!WinHttpReadData(request_.get(), buffer.data(), wanted, &read)) {
        LogError(L"Error in WinHttpReadData, GetLastError() = [%d].\n", static_cast<int>(GetLastError()));
        return Body::kBroken;
      }
      if (read > wanted) read = wanted;
      if (!file_->write(buffer.data(), read)) return Body::kFailed;
      received += read;
    }
    reportProgress(received, contentLength);
    if (available == 0) break;
  }
  if (contentLength && received != *contentLength) {
    LogError(L"The body ended after [%I64u] of [%I64u] bytes.\n", static_cast<unsigned long long>(received),
             static_cast<unsigned long long>(*contentLength));
    return Body::kBroken;
  }
  if (!file_->keep()) return Body::kFailed;
  LogInfo(L"End of receive binary from server.\n");
  return Body::kComplete;
}

void CDownloader::reportProgress(std::uint64_t received, std::optional<std::uint64_t> contentLength) {
  if (handler_ == nullptr) return;
  static const std::wstring kTypeName = PrintableTypeName(L"CDownloader");
  const std::optional<double> percent = ProgressPercent(received, contentLength);
  if (percent) {
    shownPercent_ = std::max(shownPercent_, *percent);
    handler_->callback(MakeCallbackMessage(kTypeName, ProgressContent(shownPercent_)));
  } else if (received > 0) {
    // No length, so no percentage: the window shows that data arrives.
    shownReceived_ = std::max(shownReceived_, received);
    handler_->callback(MakeCallbackMessage(kTypeName, ReceivedContent(shownReceived_)));
  }
}

}  // namespace GenericStub
