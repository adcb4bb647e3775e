#include "download/UrlAuth.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/Handles.h"
#include "download/Clock.h"
#include "download/UrlTokenText.h"

const char* const url_auth_version = "1.1.3";

namespace {

constexpr std::size_t kTokenBufferSize = 33;
constexpr DWORD kMd5Size = 16;

bool AcquireContext(Base::CryptProvider& provider) {
  if (CryptAcquireContextW(provider.receive(), nullptr, nullptr, PROV_RSA_FULL, 0)) return true;
  provider.release();
  if (GetLastError() != static_cast<DWORD>(NTE_BAD_KEYSET)) return false;
  if (CryptAcquireContextW(provider.receive(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET)) return true;
  provider.release();
  return false;
}

class Md5Hash {
 public:
  explicit Md5Hash(HCRYPTPROV provider) {
    if (!CryptCreateHash(provider, CALG_MD5, 0, 0, hash_.receive())) hash_.release();
  }

  bool valid() const { return hash_.valid(); }
  bool add(const void* data, std::size_t size) {
    return CryptHashData(hash_.get(), static_cast<const BYTE*>(data), static_cast<DWORD>(size), 0) != FALSE;
  }
  bool add(std::string_view text) { return add(text.data(), text.size()); }
  bool digest(unsigned char (&out)[kMd5Size]) {
    DWORD size = kMd5Size;
    return CryptGetHashParam(hash_.get(), HP_HASHVAL, out, &size, 0) && size == kMd5Size;
  }

 private:
  Base::CryptHash hash_;
};

// The two digests; 0 or the status of the failed step.
int ComputeToken(std::int64_t expiry, std::string_view path, const char* additional, std::string_view key,
                 char* token) {
  Base::CryptProvider context;
  if (!AcquireContext(context)) return -7;
  unsigned char first[kMd5Size];
  {
    Md5Hash hash(context.get());
    if (!hash.valid()) return -8;
    const auto expiryBytes = GenericStub::ExpiryDigestBytes(expiry);
    if (!hash.add(expiryBytes.data(), expiryBytes.size())) return -9;
    if (!hash.add(path)) return -10;
    if (additional != nullptr && !hash.add(std::string_view(additional))) return -11;
    if (!hash.add(key)) return -12;
    if (!hash.digest(first)) return -13;
  }
  unsigned char second[kMd5Size];
  {
    Md5Hash hash(context.get());
    if (!hash.valid()) return -14;
    if (!hash.add(key)) return -15;
    if (!hash.add(first, sizeof first)) return -16;
    if (!hash.digest(second)) return -17;
  }
  const std::string hex = GenericStub::LowerHex(std::string_view(reinterpret_cast<const char*>(second), sizeof second));
  std::memcpy(token, hex.c_str(), hex.size() + 1);
  return 0;
}

}  // namespace

extern "C" int __cdecl urlauth_gen_token(const char* path, std::int64_t startTime, std::int64_t lifetime,
                                         const char* key, const char* additional, std::int64_t* expiry,
                                         char** token) {
  if (path == nullptr) return -1;
  if (*path == '\0') return -2;
  if (key == nullptr) return -3;
  if (*key == '\0') return -4;
  if (token == nullptr) return -6;

  const std::int64_t start = startTime != 0 ? startTime : GenericStub::CurrentClock().nowSeconds();
  std::int64_t ownExpiry = 0;
  std::int64_t* expiryOut = expiry != nullptr ? expiry : &ownExpiry;

  char* buffer = *token;
  const bool ownBuffer = buffer == nullptr;
  if (ownBuffer) {
    buffer = static_cast<char*>(std::malloc(kTokenBufferSize));
    if (buffer == nullptr) return -6;
    *token = buffer;
  }
  std::memset(buffer, 0, kTokenBufferSize);

  *expiryOut = GenericStub::ExpiryOf(start, lifetime);
  const int status = ComputeToken(*expiryOut, path, additional, key, buffer);
  if (status != 0 && ownBuffer) {
    std::free(buffer);
    *token = nullptr;
  }
  return status;
}

extern "C" int __cdecl urlauth_gen_URL(const char* url, std::int64_t startTime, std::int64_t lifetime,
                                       const char* key, const char* additional, const char* parameterName,
                                       std::int64_t* expiry, char** signedUrl) {
  char token[kTokenBufferSize] = {};
  char* tokenBuffer = token;
  std::int64_t ownExpiry = 0;
  std::int64_t* expiryOut = expiry != nullptr ? expiry : &ownExpiry;
  const int status = urlauth_gen_token(url, startTime, lifetime, key, additional, expiryOut, &tokenBuffer);
  if (status < 0) return status;

  const std::string_view name = parameterName != nullptr ? parameterName : "__gda__";
  if (name.size() < 5 || name.size() > 12) return -101;
  if (signedUrl == nullptr) return -101;

  std::string result = url;
  result += std::strchr(url, '?') != nullptr ? '&' : '?';
  result += name;
  result += '=';
  result += std::to_string(*expiryOut);
  result += '_';
  result += token;

  char* out = *signedUrl;
  if (out == nullptr) {
    out = static_cast<char*>(std::malloc(result.size() + 1));
    if (out == nullptr) return -101;
    *signedUrl = out;
  }
  std::memcpy(out, result.c_str(), result.size() + 1);
  return 0;
}
