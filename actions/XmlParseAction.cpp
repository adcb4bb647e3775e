#include "actions/XmlParseAction.h"

#include <tinyxml2.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/AnsiText.h"
#include "catalog/FieldNames.h"

namespace GenericStub {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

namespace {

// The file parsed with the library's defaults (entities processed, whitespace
// kept). A file that cannot be read or parsed leaves the document without
// elements: what parsed before an error is not used.
void LoadDescription(const std::wstring& path, XMLDocument& document) {
  const std::unique_ptr<FILE, decltype(&std::fclose)> file(_wfopen(path.c_str(), L"rb"), &std::fclose);
  if (!file) return;
  if (document.LoadFile(file.get()) != tinyxml2::XML_SUCCESS) document.Clear();
}

const XMLElement* Child(const XMLNode* parent, const char* name) {
  return parent == nullptr ? nullptr : parent->FirstChildElement(name);
}

// The element's text, or nothing when the element is missing or has no text.
const char* TextOf(const XMLElement* element) {
  const char* text = element == nullptr ? nullptr : element->GetText();
  return text == nullptr ? "" : text;
}

}  // namespace

void XmlParseAction::run(ValueStore& store, CallbackHandler*) {
  xmlFileName_ = getMandatoryValue(store, Catalog::kXmlFileName);
  const std::wstring version = lookupVersion();
  const std::wstring windowsUrl = lookupInstallerUrl("windows");
  const std::wstring linuxUrl = lookupInstallerUrl("linux");
  const std::wstring macUrl = lookupInstallerUrl("mac");
  publishOutput(store, Catalog::kVersion, version);
  publishOutput(store, Catalog::kWindowsInstallerUrl, windowsUrl);
  publishOutput(store, Catalog::kLinuxInstallerUrl, linuxUrl);
  publishOutput(store, Catalog::kMacInstallerUrl, macUrl);
}

std::wstring XmlParseAction::lookupVersion() const {
  XMLDocument document;
  LoadDescription(xmlFileName_, document);
  return Base::AnsiToWide(TextOf(Child(Child(&document, "installerInformation"), "version")));
}

std::wstring XmlParseAction::lookupInstallerUrl(const char* platform) const {
  XMLDocument document;
  LoadDescription(xmlFileName_, document);
  const XMLElement* information = Child(&document, "installerInformation");
  const char* prefix = TextOf(Child(Child(Child(information, "downloadLocationList"), "downloadLocation"), "url"));
  const XMLElement* files = Child(information, "platformFileList");
  if (*prefix == '\0' || files == nullptr) return {};

  for (const XMLElement* entry = files->FirstChildElement(); entry != nullptr; entry = entry->NextSiblingElement()) {
    const char* fileName = TextOf(Child(entry, "filename"));
    if (std::strcmp(TextOf(Child(entry, "platform")), platform) == 0 && *fileName != '\0') {
      return Base::AnsiToWide(prefix) + Base::AnsiToWide(fileName);
    }
  }
  return {};
}

}  // namespace GenericStub
