#pragma once
// The file a download writes. The body goes into a partial file of its own
// beside the target (PartialFileName) and replaces the target only when it is
// complete and closed: a failed, cancelled or killed download leaves an
// earlier file of the target's name as it was, and no file of that name when
// there was none. Partial files that an earlier, killed download of the same
// target left behind are removed when the next one begins.
//
// A download pinned by its SHA-256 hashes the body as it is written and keeps
// it only when the hash matches; otherwise the partial file goes and the
// target keeps what it had.

#include <cstdint>
#include <optional>
#include <string>

#include "base/Handles.h"
#include "catalog/Sha256Pin.h"
#include "download/Sha256Hasher.h"

namespace GenericStub {

class DownloadFile {
 public:
  // Removes leftover partial files of target and creates a new one; logs and
  // stays closed when it cannot be created. With a pin, keep() checks the body against it.
  explicit DownloadFile(std::wstring target, std::optional<Catalog::Sha256Digest> pin = std::nullopt);
  // Removes the partial file unless the body was kept.
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  bool isOpen() const { return file_.valid(); }
  // All size bytes, or false (logged).
  bool write(const std::uint8_t* bytes, std::uint32_t size);
  // Empties the partial file for a body that starts again; false (logged) when it cannot.
  bool restart();
  // For a body continued from a partial file that holds size bytes already
  // (an earlier run's): hashes those bytes, read once from the file, so that
  // the pin is checked against the whole body. Call before writing more. True
  // at once without a pin; false (logged) when the file holds fewer bytes.
  bool hashExisting(std::uint64_t size);
  // Closes the partial file and moves it over the target, replacing an
  // existing file, written through to the disk. False (logged, partial file
  // removed, target untouched) when the body does not match the pin or
  // closing or moving fails.
  bool keep();

 private:
  // Logs the comparison of the body's hash with the pin.
  bool matchesPin();

  std::wstring target_;
  std::wstring partial_;
  Base::UniqueHandle file_;
  std::optional<Catalog::Sha256Digest> pin_;
  // Only with a pin: every byte written, since the last restart.
  std::optional<Sha256Hasher> hasher_;
};

}  // namespace GenericStub
