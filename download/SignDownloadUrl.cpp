#include "download/SignDownloadUrl.h"

#include <windows.h>

#include <winhttp.h>

#include <cstdlib>

#include "download/UrlAuth.h"
#include "download/UrlTokenText.h"
#include "base/AnsiText.h"

namespace GenericStub {

using Base::AnsiToWide;
using Base::WideToAnsi;

namespace {

constexpr std::int64_t kTokenLifetimeSeconds = 2592000;  // 30 days
// The path as written in url, from its "/" up to the query. WinHttpCrackUrl
// points into url itself (no copy buffer, so no length limit). Empty when the
// URL cannot be cracked.
std::wstring UrlPath(const std::wstring& url) {
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);  // asked for, so that the query stays out of the path
  if (url.size() > MAXDWORD || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
      parts.lpszUrlPath == nullptr) {
    return {};
  }
  return std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength);
}

// Key characters are byte values; they go to the hash as those bytes, never
// through a code page, which would change bytes of 0x80 and above.
std::string KeyBytes(const std::wstring& key) {
  std::string bytes;
  bytes.reserve(key.size());
  for (const wchar_t c : key) bytes.push_back(static_cast<char>(static_cast<unsigned char>(c & 0xFF)));
  return bytes;
}

// Puts token text in the place of the value, keeping the original bytes
// around it when the code page maps them back exactly (it does for every
// single-byte code page); otherwise the whole URL goes back through the code page.
std::string Splice(const std::string& original, const std::wstring& wide, TextSpan value,
                   const std::wstring& tokenText) {
  const std::string before = WideToAnsi(std::wstring_view(wide).substr(0, value.begin));
  const std::string after = WideToAnsi(std::wstring_view(wide).substr(value.end));
  if (before.size() + after.size() <= original.size() && original.compare(0, before.size(), before) == 0 &&
      original.compare(original.size() - after.size(), after.size(), after) == 0) {
    return before + WideToAnsi(tokenText) + after;
  }
  return WideToAnsi(wide.substr(0, value.begin) + tokenText + wide.substr(value.end));
}

}  // namespace

std::wstring DescrambleAuthParam(std::wstring_view hex) { return DescrambleKeyText(hex); }

std::string SignDownloadUrl(const std::string& url) {
  const std::wstring wide = AnsiToWide(url);
  const std::optional<TextSpan> value = FindAuthParamValue(wide);
  if (!value) return url;

  const std::string path = WideToAnsi(UrlPath(wide));
  const std::string key = KeyBytes(DescrambleAuthParam(std::wstring_view(wide).substr(value->begin, value->end - value->begin)));
  std::int64_t expiry = 0;
  char* token = nullptr;
  if (urlauth_gen_token(path.c_str(), 0, kTokenLifetimeSeconds, key.c_str(), nullptr, &expiry, &token) != 0) {
    // The value is the scrambled key: never hand it on unsigned.
    return Splice(url, wide, *value, L"");
  }
  const std::wstring tokenText = TokenText(expiry, AnsiToWide(token));
  std::free(token);
  return Splice(url, wide, *value, tokenText);
}

}  // namespace GenericStub
