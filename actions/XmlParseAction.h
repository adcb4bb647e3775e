#pragma once

#include <string>

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Reads an installer description (XML) from the file "xmlFileName" and
// publishes "version" and, for the platforms "windows", "linux" and "mac",
// "<platform>InstallerUrl": the download location's URL followed by the file
// name of the platform's first entry that has one. A missing, unreadable or
// malformed file, or missing elements, give empty values; the action does not
// fail after reading its mandatory field.
class XmlParseAction : public Action<XmlParseAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kXmlParseAction;
  void run(ValueStore& store, CallbackHandler* handler) override;

 private:
  std::wstring lookupVersion() const;
  std::wstring lookupInstallerUrl(const char* platform) const;

  std::wstring xmlFileName_;
};

}  // namespace GenericStub
