#include "catalog/ActionClasses.h"

#include "catalog/FieldNames.h"

namespace Catalog {

const std::vector<ActionClass>& ActionClasses() {
  static const std::vector<ActionClass> classes = {
      {kAddArgumentsAction, {kExecutableName}, {kArguments, kAdditionalArguments, kLaunchPath}, {}, {kArguments}},
      {kExecutableVerifierAction, {kName, kDownloadedFilename}, {}, {kIsSigned}, {}},
      {kLaunchProtocolHandlerAction, {kName, kDownloadUrl}, {}, {}, {}},
      {kPackageDownloadAction,
       {kDownloadUrl},
       {kDownloadFilename, kDownloadArguments, kProgressEnabled, kSha256},
       {kDownloadedFilename},
       {}},
      {kPackageExtractionAction, {kFileName}, {kLaunchOrder}, {kExtractionPath, kExecutableName}, {}},
      {kProtocolHandlerDetectionAction, {kName}, {}, {kIsInstalled}, {}},
      {kRemoveArgumentsAction, {kExecutableName}, {kArguments, kAdditionalArguments, kLaunchPath}, {}, {kArguments}},
      {kReplaceFileAction, {kExtractionPath, kExecutableName}, {kAdditionalArguments}, {}, {}},
      {kRunExecutableAction, {kExecutableName}, {kArguments, kQuiet, kLaunchPath, kShallWait}, {kReturnCode}, {}},
      {kXmlParseAction,
       {kXmlFileName},
       {},
       {kVersion, kWindowsInstallerUrl, kLinuxInstallerUrl, kMacInstallerUrl},
       {}},
  };
  return classes;
}

const ActionClass* FindActionClass(const std::wstring& name) {
  for (const ActionClass& actionClass : ActionClasses()) {
    if (actionClass.name == name) return &actionClass;
  }
  return nullptr;
}

}  // namespace Catalog
