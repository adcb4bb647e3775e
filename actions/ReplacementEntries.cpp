#include "actions/ReplacementEntries.h"

#include "actions/AdditionalArguments.h"
#include "base/ExecutionLog.h"
#include "base/SplitString.h"
#include "workflow/JsonText.h"

namespace GenericStub {

using Base::LogError;

std::optional<Json::Value> ParseReplacementEntries(const std::wstring& text) {
  return ParseAdditionalArguments(text);
}

std::vector<Replacement> SelectReplacements(const Json::Value& entries, const std::wstring& installerVersion) {
  std::vector<Replacement> selected;
  for (const Json::Value& element : entries) {
    if (!element.isObject()) {
      LogError(L"additionalArguments has invalid arguments.");
      continue;
    }
    const std::wstring version = StringValue(element["version"]);
    Replacement entry;
    entry.sourceUrl = StringValue(element["sourceUrl"]);
    entry.path = StringValue(element["path"]);
    const std::wstring files = StringValue(element["files"]);
    if (version.empty()) {
      LogError(L"additionalArguments has an entry where file version is not available.");
    } else if (entry.sourceUrl.empty()) {
      LogError(L"additionalArguments has an entry where source is not available.");
    } else if (entry.path.empty()) {
      LogError(L"additionalArguments has an entry where the file path of files to be replaced is not available.");
    } else if (files.empty()) {
      LogError(L"additionalArguments has an entry where there are no files to be replaced.");
    } else if (version == installerVersion) {
      entry.files = Base::SplitString(files, L"|");
      selected.push_back(std::move(entry));
    }
  }
  return selected;
}

}  // namespace GenericStub
