#include "tools/stubpack/WorkflowSchema.h"

#include <string>
#include <vector>

#include "catalog/ActionClasses.h"
#include "catalog/CheckerNames.h"
#include "catalog/DocumentKeys.h"
#include "catalog/ErrorCodes.h"
#include "catalog/FieldNames.h"
#include "catalog/ProductLocales.h"
#include "tools/stubpack/CatalogText.h"

using Catalog::kAction;
using Catalog::kDirectUrl;
using Catalog::kIn;
using Catalog::kOut;
using Catalog::kProductLang;
using Catalog::kProvided;
using Catalog::kRequestType;
using Catalog::kWorkflow;

namespace {

const char kDescription[] =
    "A workflow document of the Tarnwick stub, as this stubpack's action classes read it. An editor "
    "marks what `stubpack validate` reports as an error where a schema can tell; the rest stays "
    "validate's: whether an \"=name\" refers to a value of the document or to an \"out\" of an earlier "
    "action (and not an empty one for a mandatory field), an \"in\" field that a class does not read or a "
    "\"productLang\" without strings (warnings), a \"directUrl\" naming a package of 0 parts, and whether "
    "the stub release that reads the document is the one this schema was printed by (its classes and "
    "fields are this version's). Run `stubpack validate` before packing.";

Json::Value Strings(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  for (const std::string& name : names) list.append(name);
  return list;
}

Json::Value TypeString(const std::string& description = {}) {
  Json::Value schema(Json::objectValue);
  schema["type"] = "string";
  if (!description.empty()) schema["description"] = description;
  return schema;
}

std::string Alternatives(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "|") + name;
  return "(" + text + ")";
}

// What validate accepts of a condition: empty, or "<checker>#<value>" with the
// parts split at "#" and empty parts dropped.
Json::Value ProvidedSchema() {
  std::vector<std::string> checkers;
  for (const wchar_t* name : Catalog::kCheckerNames) checkers.push_back(Narrow(name));
  std::string listed;
  for (const std::string& name : checkers) listed += (listed.empty() ? "" : ", ") + Quoted(name);
  Json::Value schema = TypeString("Runs the action only when the checker holds for the value: \"<checker>#<value>\", "
                                  "the value an \"in\" field of the action or \"=name\". Checkers: " +
                                  listed + ". Empty: always runs.");
  schema["pattern"] = "^$|^#*" + Alternatives(checkers) + "#+[^#]";
  return schema;
}

Json::Value InSchema(const Catalog::ActionClass& actionClass) {
  Json::Value schema(Json::objectValue);
  schema["type"] = "object";
  Json::Value properties(Json::objectValue);
  for (const std::wstring& field : actionClass.mandatoryInputs) {
    Json::Value value = TypeString("Mandatory: a text or \"=name\"; empty, the run stops with code " +
                                   Catalog::ErrorCodeText(Catalog::ErrorCode::kMandatoryFieldEmpty) + ".");
    value["minLength"] = 1;
    properties[Narrow(field)] = value;
  }
  for (const std::wstring& field : actionClass.optionalInputs) {
    properties[Narrow(field)] = TypeString("A text or \"=name\".");
  }
  if (properties.isMember(Narrow(Catalog::kSha256))) {
    Json::Value& pin = properties[Narrow(Catalog::kSha256)];
    pin["description"] = "The file's SHA-256 as 64 hexadecimal digits, or \"=name\": the download is kept only when "
                         "it matches, else the run stops with code " +
                         Catalog::ErrorCodeText(Catalog::ErrorCode::kDownloadRequest) + ". Empty: no pin.";
    pin["pattern"] = "^(=.+|[0-9A-Fa-f]{64})?$";
  }
  schema["properties"] = properties;
  if (!actionClass.mandatoryInputs.empty()) schema["required"] = Strings(Narrow(actionClass.mandatoryInputs));
  // A field the class does not read is only a warning (a condition may test one).
  schema["additionalProperties"] = TypeString();
  return schema;
}

Json::Value OutSchema(const Catalog::ActionClass& actionClass) {
  Json::Value schema(Json::objectValue);
  schema["type"] = "object";
  Json::Value properties(Json::objectValue);
  for (const std::wstring& output : actionClass.outputs) {
    Json::Value value = TypeString("Publishes the output under the name after \"=\".");
    value["pattern"] = "^=.";
    properties[Narrow(output)] = value;
  }
  schema["properties"] = properties;
  schema["additionalProperties"] = false;
  return schema;
}

Json::Value ClassSchema(const Catalog::ActionClass& actionClass) {
  Json::Value schema(Json::objectValue);
  Json::Value properties(Json::objectValue);
  properties[kIn.text] = InSchema(actionClass);
  properties[kOut.text] = OutSchema(actionClass);
  schema["properties"] = properties;
  if (!actionClass.mandatoryInputs.empty()) schema["required"] = Strings({kIn.text});
  return schema;
}

Json::Value ActionSchema() {
  std::vector<std::string> names;
  Json::Value perClass(Json::arrayValue);
  for (const Catalog::ActionClass& actionClass : Catalog::ActionClasses()) {
    const std::string name = Narrow(actionClass.name);
    names.push_back(name);
    Json::Value condition(Json::objectValue);
    condition["properties"][kAction.text]["const"] = name;
    condition["required"] = Strings({kAction.text});
    Json::Value rule(Json::objectValue);
    rule["if"] = condition;
    rule["then"] = ClassSchema(actionClass);
    perClass.append(rule);
  }
  Json::Value schema(Json::objectValue);
  schema["type"] = "object";
  schema["required"] = Strings({kAction.text});
  Json::Value& properties = schema["properties"];
  properties[kAction.text] = TypeString("The action class.");
  properties[kAction.text]["enum"] = Strings(names);
  properties[kIn.text] = Json::Value(Json::objectValue);
  properties[kIn.text]["type"] = "object";
  properties[kIn.text]["description"] =
      "The action's inputs, each a text or \"=name\" (a value of the document or an \"out\" of an earlier action).";
  properties[kOut.text] = Json::Value(Json::objectValue);
  properties[kOut.text]["type"] = "object";
  properties[kOut.text]["description"] = "The outputs to publish, each mapped to \"=name\".";
  properties[kProvided.text] = ProvidedSchema();
  schema["allOf"] = perClass;
  return schema;
}

}  // namespace

Json::Value WorkflowSchema() {
  Json::Value schema(Json::objectValue);
  schema["$schema"] = "https://json-schema.org/draft/2020-12/schema";
  schema["title"] = "Tarnwick workflow document";
  schema["description"] = kDescription;
  schema["type"] = "object";

  Json::Value locales(Json::arrayValue);
  for (const Catalog::ProductLocale& locale : Catalog::kProductLocales) locales.append(Narrow(locale.name));
  Json::Value& properties = schema["properties"];
  properties[kProductLang.text] =
      TypeString("The run's language. The locales listed in \"examples\" have strings; any other shows English "
                 "(en-US), which validate warns about.");
  properties[kProductLang.text]["examples"] = locales;
  properties[kRequestType.text] = TypeString("The choice of the window's title.");
  properties[kDirectUrl.text] =
      TypeString("What the error window offers to open in the browser after a failed download: an absolute http "
                 "or https address with a host, without blanks, double quotes or control characters. Empty: no "
                 "browser download.");
  // No blank, double quote or control character; a host right after the scheme.
  properties[kDirectUrl.text]["pattern"] =
      "^([Hh][Tt][Tt][Pp][Ss]?://[^\\x00-\\x20\\x7F\"/?#:@][^\\x00-\\x20\\x7F\"]*)?$";
  properties[kWorkflow.text]["type"] = "array";
  properties[kWorkflow.text]["description"] = "The actions, run in order.";
  properties[kWorkflow.text]["items"]["$ref"] = "#/$defs/action";
  schema["required"] = Strings({kProductLang.text, kRequestType.text});
  schema["additionalProperties"] =
      TypeString("A value of the document that an action's field can refer to with \"=name\".");
  schema["$defs"]["action"] = ActionSchema();
  return schema;
}
