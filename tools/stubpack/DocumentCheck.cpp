#include "tools/stubpack/DocumentCheck.h"

#include <json/json.h>

#include <cstdlib>
#include <memory>

#include "catalog/DocumentKeys.h"
#include "catalog/ErrorCodes.h"
#include "catalog/ProductLocales.h"
#include "tools/stubpack/ActionCheck.h"
#include "tools/stubpack/CatalogText.h"
#include "tools/stubpack/DirectUrlCheck.h"
#include "tools/stubpack/PinCheck.h"

using Catalog::kDirectUrl;
using Catalog::kProductLang;
using Catalog::kRequestType;
using Catalog::kWorkflow;

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

void CheckMandatoryText(const Json::Value& root, const char* key, Catalog::ErrorCode code,
                        std::vector<Finding>& findings) {
  const std::string name = Quoted(key);
  const std::string stop = "; the stub stops with " + CodeText(code);
  if (!root.isMember(key)) {
    findings.push_back(DocumentFinding(Severity::kError, "missing " + name + stop));
  } else if (!root[key].isString()) {
    findings.push_back(DocumentFinding(Severity::kError, name + " is not a string" + stop));
  }
}

void CheckProductLang(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root[kProductLang.text].isString()) return;
  const std::string locale = root[kProductLang.text].asString();
  if (!Catalog::IsProductLocale(Widen(locale))) {
    std::string carried;
    for (const Catalog::ProductLocale& product : Catalog::kProductLocales) {
      carried += (carried.empty() ? "" : " ") + Narrow(product.name);
    }
    findings.push_back(DocumentFinding(Severity::kWarning, Quoted(kProductLang.text) + " \"" + locale +
                                                               "\" is not a locale the stub carries strings for (" +
                                                               carried + "); it shows English (en-US)"));
  }
}

void CheckDirectUrl(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root.isMember(kDirectUrl.text)) return;
  const Json::Value& value = root[kDirectUrl.text];
  if (!value.isString()) {
    findings.push_back(DocumentFinding(
        Severity::kError,
        Quoted(kDirectUrl.text) + " is not a string; the stub ignores it and offers no browser download"));
    return;
  }
  const std::string url = value.asString();
  if (url.empty()) {
    findings.push_back(DocumentFinding(
        Severity::kWarning, Quoted(kDirectUrl.text) + " is empty; a failed download offers no browser download"));
    return;
  }
  const std::string fault = DirectUrlFault(url);
  if (!fault.empty()) {
    findings.push_back(DocumentFinding(Severity::kError, Quoted(kDirectUrl.text) + " \"" + url + "\" " + fault));
  }
}

void CheckWorkflow(const Json::Value& root, std::vector<Finding>& findings) {
  if (!root.isMember(kWorkflow.text)) {
    findings.push_back(
        DocumentFinding(Severity::kWarning, "no " + Quoted(kWorkflow.text) + "; the stub runs no action"));
    return;
  }
  const Json::Value& workflow = root[kWorkflow.text];
  if (!workflow.isArray()) {
    findings.push_back(
        DocumentFinding(Severity::kError, Quoted(kWorkflow.text) + " is not an array; the stub stops with " +
                                              CodeText(Catalog::ErrorCode::kWorkflowMalformed)));
    return;
  }
  ValueSources sources;
  for (const std::string& key : root.getMemberNames()) {
    if (key != kWorkflow.text && root[key].isString()) sources.documentValues[key] = root[key].asString();
  }
  for (Json::ArrayIndex i = 0; i < workflow.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    for (const std::string& name : PublishedNames(workflow[i])) sources.publishers[name].insert(index);
  }
  for (Json::ArrayIndex i = 0; i < workflow.size(); ++i) {
    CheckAction(workflow[i], static_cast<int>(i) + 1, sources, findings);
    CheckPins(workflow, static_cast<int>(i) + 1, sources, findings);
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
    return {DocumentFinding(Severity::kError, "the document is not a JSON object; the stub stops with " +
                                                  CodeText(Catalog::ErrorCode::kProductLangMissing))};
  }

  std::vector<Finding> findings;
  CheckMandatoryText(root, kProductLang.text, Catalog::ErrorCode::kProductLangMissing, findings);
  CheckMandatoryText(root, kRequestType.text, Catalog::ErrorCode::kRequestTypeMissing, findings);
  CheckProductLang(root, findings);
  CheckDirectUrl(root, findings);
  CheckWorkflow(root, findings);
  return findings;
}
