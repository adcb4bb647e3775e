#pragma once

#include "download/CDownloadManager.h"
#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Patches an unpacked installer: for each entry of "additionalArguments"
// ([{"version", "sourceUrl", "path", "files"}, ...]) whose version equals the
// file version of "extractionPath" + "executableName", downloads each of the
// "|"-separated files from "sourceUrl" + name into the program's folder and
// moves it into "extractionPath" + "path". Everything but a missing mandatory
// field (11) and a failed download (7, 8) is only logged. Publishes nothing.
class ReplaceFileAction : public Action<ReplaceFileAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kReplaceFileAction;
  void run(ValueStore& store, CallbackHandler* handler) override;

 private:
  CDownloadManager downloadManager_;
};

}  // namespace GenericStub
