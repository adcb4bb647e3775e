#pragma once
// The file a download writes. The body goes into a partial file of its own
// beside the target (PartialFileName) and replaces the target only when it is
// complete and closed: a failed, cancelled or killed download leaves an
// earlier file of the target's name as it was, and no file of that name when
// there was none. Partial files that an earlier, killed download of the same
// target left behind are removed when the next one begins.

#include <cstdint>
#include <string>

#include "base/Handles.h"

namespace GenericStub {

class DownloadFile {
 public:
  // Removes leftover partial files of target and creates a new one; logs and
  // stays closed when it cannot be created.
  explicit DownloadFile(std::wstring target);
  // Removes the partial file unless the body was kept.
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  bool isOpen() const { return file_.valid(); }
  // All size bytes, or false (logged).
  bool write(const std::uint8_t* bytes, std::uint32_t size);
  // Empties the partial file for a body that starts again; false (logged) when it cannot.
  bool restart();
  // Closes the partial file and moves it over the target, replacing an
  // existing file, written through to the disk. False (logged, partial file
  // removed, target untouched) when closing or moving fails.
  bool keep();

 private:
  std::wstring target_;
  std::wstring partial_;
  Base::UniqueHandle file_;
};

}  // namespace GenericStub
