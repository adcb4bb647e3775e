#pragma once

#include <optional>
#include <string>

#include "catalog/Sha256Pin.h"
#include "download/CDownloadManager.h"
#include "workflow/CallbackHandler.h"

namespace GenericStub {

// Downloads url into filePath with a downloader of manager, telling handler
// (may be null) the progress; with a pin, the file is kept only when its
// SHA-256 matches. A failed connect logs and raises kDownloadConnect, a failed
// request (a mismatch included) kDownloadRequest.
void FetchFile(const CDownloadManager& manager, const std::wstring& url, const std::wstring& filePath,
               CallbackHandler* handler, const std::optional<Catalog::Sha256Digest>& pin = std::nullopt);

}  // namespace GenericStub
