#include "actions/ReplacementEntries.h"

#include <memory>

#include "base/AnsiText.h"
#include "base/ExecutionLog.h"
#include "base/SplitString.h"

namespace GenericStub {

using Base::LogError;

namespace {

// asString() would turn a missing member (null) or a number into text.
std::wstring StringMember(const Json::Value& element, const char* name) {
  const Json::Value& member = element[name];
  if (!member.isString()) Json::throwLogicError("in Json::Value::asCString(): requires stringValue");
  return Base::AnsiToWide(member.asString());
}

}  // namespace

std::optional<Json::Value> ParseReplacementEntries(const std::wstring& text) {
  const std::string narrow = Base::WideToAnsi(text);
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value entries;
  if (!reader->parse(narrow.data(), narrow.data() + narrow.size(), &entries, nullptr)) {
    LogError(L"additionalArguments data is not a json.");
    return std::nullopt;
  }
  if (!entries.isArray()) {
    LogError(L"additionalArguments data is not an array.");
    return std::nullopt;
  }
  return entries;
}

std::vector<Replacement> SelectReplacements(const Json::Value& entries, const std::wstring& installerVersion) {
  std::vector<Replacement> selected;
  for (const Json::Value& element : entries) {
    if (!element.isObject()) {
      LogError(L"additionalArguments has invalid arguments.");
      continue;
    }
    const std::wstring version = StringMember(element, "version");
    Replacement entry;
    entry.sourceUrl = StringMember(element, "sourceUrl");
    entry.path = StringMember(element, "path");
    const std::wstring files = StringMember(element, "files");
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
