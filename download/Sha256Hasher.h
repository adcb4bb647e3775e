#pragma once
// SHA-256 of a body while it is written, through BCrypt: the bytes are hashed
// as they pass, never read back from the file.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/Handles.h"
#include "catalog/Sha256Pin.h"

namespace GenericStub {

class Sha256Hasher {
 public:
  // Opens the algorithm and a first hash; a failure is logged and makes every
  // later call fail, so that a pinned download fails closed.
  Sha256Hasher();
  Sha256Hasher(const Sha256Hasher&) = delete;
  Sha256Hasher& operator=(const Sha256Hasher&) = delete;

  // False (logged) when BCrypt refuses the bytes.
  bool add(const std::uint8_t* bytes, std::size_t size);
  // Forgets every byte added: the hash of a body that starts again.
  bool restart();
  // The digest of the bytes added since the start; the hasher then starts again.
  std::optional<Catalog::Sha256Digest> finish();

 private:
  Base::BCryptAlgorithm algorithm_;
  Base::BCryptHash hash_;
};

}  // namespace GenericStub
