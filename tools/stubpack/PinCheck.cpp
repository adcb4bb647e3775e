#include "tools/stubpack/PinCheck.h"

#include <cctype>
#include <memory>
#include <optional>
#include <string>

#include "catalog/ActionClasses.h"
#include "catalog/DocumentKeys.h"
#include "catalog/ErrorCodes.h"
#include "catalog/FieldNames.h"
#include "catalog/Sha256Pin.h"
#include "tools/stubpack/CatalogText.h"

namespace {

using Catalog::kAction;
using Catalog::kIn;
using Catalog::kOut;

const std::string kNotAHash = " is not 64 hexadecimal digits";
const std::string kUnchecked = " comes over plain http with neither a \"" + Narrow(Catalog::kSha256) +
                               "\" nor a later " + Narrow(Catalog::kExecutableVerifierAction) +
                               " on it; anyone on the way can replace it";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsPlainHttp(const std::string& url) { return Lower(url.substr(0, 7)) == "http://"; }

bool IsHash(const std::string& text) { return Catalog::ParseSha256(Widen(text)).has_value(); }

// As the stub splits "files".
std::vector<std::string> SplitList(const std::string& text) {
  return SplitPieces(text, Catalog::kEntryListSeparator.text);
}

std::string Field(const Json::Value& in, const std::wstring& name) {
  const Json::Value& value = in[Narrow(name)];
  return value.isString() ? value.asString() : std::string();
}

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PinChecker {
 public:
  PinChecker(const Json::Value& workflow, int index, const ValueSources& sources, std::vector<Finding>& findings)
      : workflow_(workflow), index_(index), sources_(sources), findings_(findings) {}

  void check() {
    const Json::Value& element = workflow_[index_ - 1];
    if (!element.isObject() || !element[kAction.text].isString() || !element[kIn.text].isObject()) return;
    name_ = element[kAction.text].asString();
    const Json::Value& in = element[kIn.text];
    if (name_ == Narrow(Catalog::kPackageDownloadAction)) checkDownload(element, in);
    if (name_ == Narrow(Catalog::kReplaceFileAction)) checkPatches(in);
  }

 private:
  void report(Severity severity, const std::string& message) {
    findings_.push_back(ActionFinding(severity, message, index_, name_));
  }

  // A field's text with "=name" replaced by the document's value; nothing when
  // an earlier action publishes it (known only on the users' machines).
  std::optional<std::string> resolve(const std::string& text) const {
    if (text.empty() || text[0] != '=') return text;
    const auto value = sources_.documentValues.find(text.substr(1));
    if (value == sources_.documentValues.end()) return std::nullopt;
    return value->second;
  }

  // Whether a later ExecutableVerifierAction checks the file: by the name it
  // was published under ("=name"), or by its file name.
  bool verifiedLater(const std::string& published, const std::string& fileName) const {
    for (Json::ArrayIndex i = static_cast<Json::ArrayIndex>(index_); i < workflow_.size(); ++i) {
      const Json::Value& element = workflow_[i];
      if (!element.isObject() || element[kAction.text] != Narrow(Catalog::kExecutableVerifierAction)) continue;
      const std::string verified = Field(element[kIn.text], Catalog::kDownloadedFilename);
      if (!published.empty() && verified == published) return true;
      const std::optional<std::string> resolved = resolve(verified);
      if (resolved && !resolved->empty() && Lower(NamePart(*resolved)) == Lower(NamePart(fileName))) return true;
    }
    return false;
  }

  void checkDownload(const Json::Value& element, const Json::Value& in) {
    const std::string pin = Field(in, Catalog::kSha256);
    const std::optional<std::string> resolvedPin = resolve(pin);
    if (resolvedPin && !resolvedPin->empty() && !IsHash(*resolvedPin)) {
      report(Severity::kError, Quoted(kIn.text) + " field " + Quoted(Narrow(Catalog::kSha256)) + " " +
                                   Quoted(*resolvedPin) + kNotAHash + "; the download fails with " +
                                   CodeText(Catalog::ErrorCode::kDownloadRequest));
    }
    const std::optional<std::string> url = resolve(Field(in, Catalog::kDownloadUrl));
    if (!pin.empty() || !url || !IsPlainHttp(*url)) return;
    const std::optional<std::string> fileName = resolve(Field(in, Catalog::kDownloadFilename));
    const std::string published = Field(element[kOut.text], Catalog::kDownloadedFilename);
    if (verifiedLater(published, fileName && !fileName->empty() ? *fileName : NamePart(*url))) return;
    report(Severity::kWarning, Quoted(kIn.text) + " field " + Quoted(Narrow(Catalog::kDownloadUrl)) + " " +
                                   Quoted(*url) + kUnchecked);
  }

  void checkPatches(const Json::Value& in) {
    const std::optional<std::string> text = resolve(Field(in, Catalog::kAdditionalArguments));
    if (!text || text->empty()) return;
    const Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value entries;
    if (!reader->parse(text->data(), text->data() + text->size(), &entries, nullptr) || !entries.isArray()) return;
    for (Json::ArrayIndex i = 0; i < entries.size(); ++i) {
      const Json::Value& entry = entries[i];
      if (!entry.isObject()) continue;
      const std::string what = Quoted(Narrow(Catalog::kAdditionalArguments)) + " entry " + std::to_string(i + 1);
      const std::vector<std::string> files = SplitList(Field(entry, Catalog::kEntryFiles.wide));
      const std::vector<std::string> pins = SplitList(Field(entry, Catalog::kEntrySha256.wide));
      const std::string sha256 = Quoted(Catalog::kEntrySha256.text);
      if (!pins.empty() && pins.size() != files.size()) {
        report(Severity::kError, what + ": " + sha256 + " does not name one hash per file (" +
                                     std::to_string(pins.size()) + " for " + std::to_string(files.size()) + " " +
                                     Quoted(Catalog::kEntryFiles.text) + "); the stub skips the entry");
      }
      for (const std::string& pin : pins) {
        if (!IsHash(pin)) report(Severity::kError, what + ": " + sha256 + " " + Quoted(pin) + kNotAHash +
                                                       "; the stub skips the entry");
      }
      if (!pins.empty() || !IsPlainHttp(Field(entry, Catalog::kEntrySourceUrl.wide))) continue;
      for (const std::string& file : files) {
        if (!verifiedLater({}, file)) report(Severity::kWarning, what + ": " + Quoted(file) + kUnchecked);
      }
    }
  }

  const Json::Value& workflow_;
  const int index_;
  const ValueSources& sources_;
  std::vector<Finding>& findings_;
  std::string name_;
};

}  // namespace

void CheckPins(const Json::Value& workflow, int index, const ValueSources& sources, std::vector<Finding>& findings) {
  PinChecker(workflow, index, sources, findings).check();
}
