#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Unpacks the archive "fileName" into its folder under "%SystemDrive%\Orvakel\"
// (ExtractPackage) and picks the executable among the "#"-separated
// "launchOrder" candidates (GetExecutableName). Publishes "extractionPath" and
// "executableName". Fails only on a missing "fileName" (11) and on a fatal
// UnRAR error (12).
class PackageExtractionAction : public Action<PackageExtractionAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kPackageExtractionAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
