#pragma once

#include "download/CDownloadManager.h"
#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Downloads "downloadUrl" (with "?" and "downloadArguments" when those are
// given) into "downloadFilename" (default: the URL's text after its last "/"),
// relative to the current folder, and publishes that name as
// "downloadedFilename". Progress goes to the handler unless "progressEnabled"
// (default "1") reads as 0. With "sha256", the file is kept only when its
// SHA-256 is that one. Fails with kMandatoryFieldEmpty without a URL,
// kDownloadConnect when the download cannot connect, kDownloadRequest when the
// request fails, the body does not match "sha256" or "sha256" is not a hash;
// then nothing is published.
class PackageDownloadAction : public Action<PackageDownloadAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kPackageDownloadAction;
  void run(ValueStore& store, CallbackHandler* handler) override;

 private:
  CDownloadManager downloadManager_;
};

}  // namespace GenericStub
