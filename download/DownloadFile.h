#pragma once
// The file a download writes. It is created, or truncated when it exists, on
// opening; unless the download keeps it, it is removed again on destruction,
// so that a failed download leaves nothing that looks like a complete body.

#include <cstdint>
#include <string>

#include "base/Handles.h"

namespace GenericStub {

class DownloadFile {
 public:
  // Logs and stays closed when the file cannot be created.
  explicit DownloadFile(std::wstring path);
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  bool isOpen() const { return file_.valid(); }
  // All size bytes, or false (logged).
  bool write(const std::uint8_t* bytes, std::uint32_t size);
  // Closes the file and leaves it in place; false (logged, file removed) when closing fails.
  bool keep();

 private:
  std::wstring path_;
  Base::UniqueHandle file_;
};

}  // namespace GenericStub
