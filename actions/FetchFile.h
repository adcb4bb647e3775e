#pragma once

#include <string>

#include "download/CDownloadManager.h"
#include "workflow/CallbackHandler.h"

namespace GenericStub {

// Downloads url into filePath with a downloader of manager, telling handler
// (may be null) the progress. A failed connect logs and raises
// kDownloadConnect, a failed request kDownloadRequest.
void FetchFile(const CDownloadManager& manager, const std::wstring& url, const std::wstring& filePath,
               CallbackHandler* handler);

}  // namespace GenericStub
