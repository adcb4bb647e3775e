#include "tools/stubpack/DocumentCheck.h"

#include <json/json.h>

#include <cstdlib>
#include <memory>

#include "catalog/ProductLocales.h"
#include "tools/stubpack/ActionCheck.h"
#include "tools/stubpack/CatalogText.h"
#include "tools/stubpack/DirectUrlCheck.h"

namespace {

Finding DocumentFinding(Severity severity, const std::string& message) {
  Finding finding;
  finding.severity = severity;
  finding.message = message;
  return finding;
}

// JsonCpp reports "* Line 4, Column 12\n  Missing ',' or '}' in object declaration\n...".
Finding SyntaxFinding(const std::string& errors) {
  Finding finding = DocumentFinding(Severity::kError, "not valid JSON");
  const std::size_t line = errors.find("Line ");
  const std::size_t column = errors.find("Column ");
  if (line != std::string::npos && column != std::string::npos) {
    finding.line = std::atoi(errors.c_str() + line + 5);
    finding.column = std::atoi(errors.c_str() + column + 7);
  }
  const std::size_t text = errors.find('\n');
  if (text != std::string::npos) {
    const std::size_t start = errors.find_first_not_of(' ', text + 1);
    const std::size_t end = errors.find('\n', start);
    if (start != std::string::npos) finding.message += ": " + errors.substr(start, end - start);
  }
  return finding;
}

void CheckMandatoryText(const Json::Value& root, const char* key, int code, std::vector<Finding>& findings) {
  const std::string name = std::string("\"") + key + "\"";
  const std::string stop = "; the stub stops with code " + std::to_string(code);
  if (!root.isMember(key)) {
    findings.push_back(DocumentFinding(Severity::kError, "missing " + name + stop));
  } else if (!root[key].isString()) {
    findings.push_back(DocumentFinding(Severity::kError, name + " is not a string" + stop));
  }
}

void CheckProductLang(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root["productLang"].isString()) return;
  const std::string locale = root["productLang"].asString();
  if (!Catalog::IsProductLocale(Widen(locale))) {
    std::string carried;
    for (const Catalog::ProductLocale& product : Catalog::kProductLocales) {
      carried += (carried.empty() ? "" : " ") + Narrow(product.name);
    }
    findings.push_back(DocumentFinding(Severity::kWarning, "\"productLang\" \"" + locale +
                                           "\" is not a locale the stub carries strings for (" + carried +
                                           "); it shows English (en-US)"));
  }
}

void CheckDirectUrl(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root.isMember("directUrl")) return;
  const Json::Value& value = root["directUrl"];
  if (!value.isString()) {
    findings.push_back(DocumentFinding(
        Severity::kError, "\"directUrl\" is not a string; the stub ignores it and offers no browser download"));
    return;
  }
  const std::string url = value.asString();
  if (url.empty()) {
    findings.push_back(
        DocumentFinding(Severity::kWarning, "\"directUrl\" is empty; a failed download offers no browser download"));
    return;
  }
  const std::string fault = DirectUrlFault(url);
  if (!fault.empty()) findings.push_back(DocumentFinding(Severity::kError, "\"directUrl\" \"" + url + "\" " + fault));
}

void CheckWorkflow(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root.isMember("workflow")) {
    findings.push_back(DocumentFinding(Severity::kWarning, "no \"workflow\"; the stub runs no action"));
    return;
  }
  const Json::Value& workflow = root["workflow"];
  if (!workflow.isArray()) {
    findings.push_back(DocumentFinding(Severity::kError, "\"workflow\" is not an array; the stub stops with code 10"));
    return;
  }
  ValueSources sources;
  for (const std::string& key : root.getMemberNames()) {
    if (key != "workflow" && root[key].isString()) sources.documentValues[key] = root[key].asString();
  }
  for (Json::ArrayIndex i = 0; i < workflow.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    for (const std::string& name : PublishedNames(workflow[i])) sources.publishers[name].insert(index);
  }
  for (Json::ArrayIndex i = 0; i < workflow.size(); ++i) {
    CheckAction(workflow[i], static_cast<int>(i) + 1, sources, findings);
  }
}

}  // namespace

std::vector<Finding> CheckDocument(const std::string& text) {
  const Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return {SyntaxFinding(errors)};
  if (!root.isObject()) {
    return {DocumentFinding(Severity::kError, "the document is not a JSON object; the stub stops with code 4")};
  }

  std::vector<Finding> findings;
  CheckMandatoryText(root, "productLang", 4, findings);
  CheckMandatoryText(root, "requestType", 13, findings);
  CheckProductLang(root, findings);
  CheckDirectUrl(root, findings);
  CheckWorkflow(root, findings);
  return findings;
}
