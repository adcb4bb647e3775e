#pragma once
// Makes the downloaders of the download actions. Holds no state.

#include <memory>
#include <string>

#include "download/CDownloader.h"
#include "workflow/CallbackHandler.h"

namespace GenericStub {

class CDownloadManager {
 public:
  // Logs the URL and makes a downloader of url into filePath; no I/O. handler
  // may be null (no progress).
  std::shared_ptr<CDownloader> createDownloader(const std::wstring& url, const std::wstring& filePath,
                                                CallbackHandler* handler) const;
};

}  // namespace GenericStub
