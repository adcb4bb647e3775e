#pragma once

#include "download/CDownloadManager.h"
#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Patches an unpacked installer: for each entry of "additionalArguments"
// ([{"version", "sourceUrl", "path", "files"}, ...]) whose version equals the
// file version of "extractionPath" + "executableName", downloads each of the
// "|"-separated files from "sourceUrl" + name straight into "extractionPath" +
// "path", over the package's copy, entry by entry in their order. An entry
// whose path or file names lead out of that folder is skipped. Everything but
// a missing mandatory field (11) and a failed download (7, 8; the files fetched
// before stay replaced) is only logged. Publishes nothing.
class ReplaceFileAction : public Action<ReplaceFileAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kReplaceFileAction;
  void run(ValueStore& store, CallbackHandler* handler) override;

 private:
  CDownloadManager downloadManager_;
};

}  // namespace GenericStub
