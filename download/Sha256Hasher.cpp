#include "download/Sha256Hasher.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>

#include "base/ExecutionLog.h"

namespace GenericStub {

namespace {

bool Succeeded(NTSTATUS status, const wchar_t* call) {
  if (BCRYPT_SUCCESS(status)) return true;
  Base::LogError(L"Error in %s, status = [0x%08lX].\n", call, static_cast<unsigned long>(status));
  return false;
}

}  // namespace

Sha256Hasher::Sha256Hasher() {
  if (Succeeded(BCryptOpenAlgorithmProvider(algorithm_.receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0),
                L"BCryptOpenAlgorithmProvider")) {
    restart();
  }
}

bool Sha256Hasher::restart() {
  hash_.reset();
  if (!algorithm_) return false;
  // No object buffer: BCrypt allocates the hash's state itself.
  return Succeeded(BCryptCreateHash(algorithm_.get(), hash_.receive(), nullptr, 0, nullptr, 0, 0),
                   L"BCryptCreateHash");
}

bool Sha256Hasher::add(const std::uint8_t* bytes, std::size_t size) {
  if (!hash_) return false;
  while (size > 0) {
    const ULONG part = static_cast<ULONG>(std::min<std::size_t>(size, 1u << 30));
    if (!Succeeded(BCryptHashData(hash_.get(), const_cast<PUCHAR>(bytes), part, 0), L"BCryptHashData")) {
      hash_.reset();
      return false;
    }
    bytes += part;
    size -= part;
  }
  return true;
}

std::optional<Catalog::Sha256Digest> Sha256Hasher::finish() {
  if (!hash_) return std::nullopt;
  Catalog::Sha256Digest digest{};
  const bool done = Succeeded(BCryptFinishHash(hash_.get(), digest.data(), static_cast<ULONG>(digest.size()), 0),
                              L"BCryptFinishHash");
  restart();
  if (!done) return std::nullopt;
  return digest;
}

}  // namespace GenericStub
