#pragma once
// The names a workflow document gives the actions' "in" fields and outputs.
// The actions read and publish through these constants, and ActionClasses
// lists them per class, so that stubpack checks a document by the same names
// the program reads.

namespace Catalog {

// Inputs.
inline constexpr wchar_t kAdditionalArguments[] = L"additionalArguments";
inline constexpr wchar_t kArguments[] = L"arguments";
inline constexpr wchar_t kDownloadArguments[] = L"downloadArguments";
inline constexpr wchar_t kDownloadFilename[] = L"downloadFilename";
inline constexpr wchar_t kDownloadUrl[] = L"downloadUrl";
inline constexpr wchar_t kDownloadedFilename[] = L"downloadedFilename";  // also the download's output
inline constexpr wchar_t kExecutableName[] = L"executableName";          // also the extraction's output
inline constexpr wchar_t kExtractionPath[] = L"extractionPath";          // also the extraction's output
inline constexpr wchar_t kFileName[] = L"fileName";
inline constexpr wchar_t kLaunchOrder[] = L"launchOrder";
inline constexpr wchar_t kLaunchPath[] = L"launchPath";
inline constexpr wchar_t kName[] = L"name";
inline constexpr wchar_t kProgressEnabled[] = L"progressEnabled";
inline constexpr wchar_t kQuiet[] = L"quiet";
inline constexpr wchar_t kSha256[] = L"sha256";  // the pinned hash of the download, Sha256Pin.h
inline constexpr wchar_t kShallWait[] = L"shallWait";
inline constexpr wchar_t kXmlFileName[] = L"xmlFileName";

// Outputs.
inline constexpr wchar_t kIsInstalled[] = L"isInstalled";
inline constexpr wchar_t kIsSigned[] = L"isSigned";
inline constexpr wchar_t kLinuxInstallerUrl[] = L"linuxInstallerUrl";
inline constexpr wchar_t kMacInstallerUrl[] = L"macInstallerUrl";
inline constexpr wchar_t kReturnCode[] = L"returnCode";
inline constexpr wchar_t kVersion[] = L"version";
inline constexpr wchar_t kWindowsInstallerUrl[] = L"windowsInstallerUrl";

}  // namespace Catalog
