#pragma once
// The action classes a workflow document can name: for each, the "in" fields it
// reads (mandatory ones in the order it reads them) and the outputs it can
// publish. The program registers exactly these classes (RegisterActions) and
// its actions read and publish by the names of FieldNames.h; stubpack checks a
// document against the same table.

#include <string>
#include <vector>

namespace Catalog {

inline constexpr wchar_t kAddArgumentsAction[] = L"AddArgumentsAction";
inline constexpr wchar_t kExecutableVerifierAction[] = L"ExecutableVerifierAction";
inline constexpr wchar_t kLaunchProtocolHandlerAction[] = L"LaunchProtocolHandlerAction";
inline constexpr wchar_t kPackageDownloadAction[] = L"PackageDownloadAction";
inline constexpr wchar_t kPackageExtractionAction[] = L"PackageExtractionAction";
inline constexpr wchar_t kProtocolHandlerDetectionAction[] = L"ProtocolHandlerDetectionAction";
inline constexpr wchar_t kRemoveArgumentsAction[] = L"RemoveArgumentsAction";
inline constexpr wchar_t kReplaceFileAction[] = L"ReplaceFileAction";
inline constexpr wchar_t kRunExecutableAction[] = L"RunExecutableAction";
inline constexpr wchar_t kXmlParseAction[] = L"XmlParseAction";

struct ActionClass {
  std::wstring name;                          // the "action" value
  std::vector<std::wstring> mandatoryInputs;  // empty or missing: kMandatoryFieldEmpty
  std::vector<std::wstring> optionalInputs;
  std::vector<std::wstring> outputs;          // what its "out" can map
  std::vector<std::wstring> storeWrites;      // entries it sets itself, without an "out" mapping
};

// Every class, in name order.
const std::vector<ActionClass>& ActionClasses();

// The class of that exact (case-sensitive) name, or null.
const ActionClass* FindActionClass(const std::wstring& name);

}  // namespace Catalog
