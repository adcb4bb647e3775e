#pragma once
// The file a download writes. The body goes into a partial file of its own
// beside the target (PartialFileName) and replaces the target only when it is
// complete and closed: a failed, cancelled or killed download leaves an
// earlier file of the target's name as it was, and no file of that name when
// there was none.
//
// Beside the partial file lies the record of how its body could be continued
// (ResumeRecord), written once the response's headers have arrived and removed
// with the partial file. When the next download of the same target and URL
// begins, a partial file that a killed run left with a readable record is
// taken over, so that the download can ask for the rest; every other leftover
// partial file and record of the target is removed.
//
// A download pinned by its SHA-256 hashes the body as it is written and keeps
// it only when the hash of the whole body matches; otherwise the partial file
// goes and the target keeps what it had. Only a pinned download takes over a
// killed run's leftover: others can drop files into the folder, and without
// the pin nothing would tell their bytes from the ones the earlier run wrote.

#include <cstdint>
#include <optional>
#include <string>

#include "base/Handles.h"
#include "catalog/Sha256Pin.h"
#include "download/ResumeRecord.h"
#include "download/Sha256Hasher.h"

namespace GenericStub {

class DownloadFile {
 public:
  // With a pin: takes over the leftover partial file of target that an
  // earlier download of url left with its record, if there is one whose body
  // a range request can continue. Removes the other leftovers and, unless one
  // was taken over, creates a new, empty partial file. Logs and stays closed
  // when it cannot be created. With a pin, keep() checks the body against it.
  DownloadFile(std::wstring target, const std::wstring& url, std::optional<Catalog::Sha256Digest> pin);
  // Removes the partial file and its record unless the body was kept.
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  bool isOpen() const { return file_.valid(); }
  // The bytes the partial file holds.
  std::uint64_t size() const { return size_; }
  // The record of the body in the partial file while a range request could
  // ask for its rest (the file holds some of it, not all); null otherwise.
  const ResumeRecord* continuable() const;

  // All size bytes, or false (logged).
  bool write(const std::uint8_t* bytes, std::uint32_t size);
  // Empties the partial file for a body that starts again, and forgets its
  // record; false (logged) when it cannot.
  bool restart();
  // Records how the body now being written could be continued (none: it
  // cannot). Best effort: a record that cannot be written only means that a
  // killed run starts again from zero.
  void setRecord(const std::optional<ResumeRecord>& record);
  // The body continues at byte offset (at most size()) with the rest of the
  // response that the record names: the bytes before offset stay, anything
  // after it goes, and the next write lands at offset. False (logged) when the
  // file cannot be cut there.
  // With a pin, the bytes before offset enter the hash (read once through the
  // file's own handle) unless they are the ones just written.
  bool continueAt(std::uint64_t offset);
  // Closes the partial file and moves it over the target, replacing an
  // existing file, written through to the disk, and removes the record. False
  // (logged, partial file removed, target untouched) when the body does not
  // match the pin or closing or moving fails.
  bool keep();

 private:
  // Takes over the leftover partial file when the record beside it is for url
  // and a range request can continue the body.
  bool takeOver(const std::wstring& partial, const std::wstring& recordPath, const std::wstring& url);
  void create();
  // Restarts the hash with the first size bytes of the partial file.
  bool hashPrefix(std::uint64_t size);
  // Logs the comparison of the body's hash with the pin.
  bool matchesPin();

  std::wstring target_;
  std::wstring partial_;
  std::wstring recordPath_;
  Base::UniqueHandle file_;
  std::uint64_t size_ = 0;
  std::optional<ResumeRecord> record_;
  std::optional<Catalog::Sha256Digest> pin_;
  // Only with a pin: the first hashed_ bytes of the body.
  std::optional<Sha256Hasher> hasher_;
  std::uint64_t hashed_ = 0;
};

}  // namespace GenericStub
