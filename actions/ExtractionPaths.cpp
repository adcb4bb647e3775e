#include "actions/ExtractionPaths.h"

#include "base/AsciiCase.h"

namespace GenericStub {

std::wstring ExtractionFolderName(const std::wstring& archiveName) {
  static const std::wstring kInstallerSuffix = L"Setup.exe";
  const std::wstring::size_type underscore = archiveName.rfind(L'_');
  if (underscore != std::wstring::npos &&
      Base::EqualsIgnoringAsciiCase(std::wstring_view(archiveName).substr(underscore + 1), kInstallerSuffix)) {
    return archiveName.substr(0, underscore);
  }
  const std::wstring::size_type dot = archiveName.rfind(L'.');
  if (dot != std::wstring::npos) return archiveName.substr(0, dot);
  return archiveName;
}

bool LiesInsideRoot(const std::wstring& canonicalPath, const std::wstring& root) {
  if (root.empty() || canonicalPath.compare(0, root.size(), root) != 0) return false;
  return canonicalPath.find_first_not_of(L"\\/", root.size()) != std::wstring::npos;
}

}  // namespace GenericStub

namespace GenericStub {

bool MayUseRoot(const FolderFacts& facts) { return !facts.reparsePoint && facts.owner != FolderOwner::kOther; }

bool MayReusePackageFolder(const FolderFacts& facts) {
  return MayUseRoot(facts) && !facts.othersMayChange;
}

}  // namespace GenericStub
