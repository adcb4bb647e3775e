#include "download/ResumeRecord.h"

#include "base/Utf8Text.h"
#include "download/DownloadProgress.h"
#include "download/ResumeRules.h"

namespace GenericStub {

namespace {

constexpr std::string_view kFirstLine = "tarnwick-resume 1\n";

bool HasControlCharacters(std::wstring_view text) {
  for (const wchar_t c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// The line at the start of bytes without its "\n", consumed with it; nothing when no "\n" ends it.
std::optional<std::string_view> TakeLine(std::string_view& bytes) {
  const std::size_t end = bytes.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = bytes.substr(0, end);
  bytes.remove_prefix(end + 1);
  return line;
}

}  // namespace

std::optional<std::string> FormatResumeRecord(const ResumeRecord& record) {
  std::string url;
  if (record.url.empty() || HasControlCharacters(record.url) || !Base::WideToUtf8(record.url, url)) {
    return std::nullopt;
  }
  if (record.length == 0 || !IsValidatorText(record.validator)) return std::nullopt;
  // A validator text is ASCII.
  const std::string validator(record.validator.begin(), record.validator.end());
  std::string text = std::string(kFirstLine) + url + "\n" + std::to_string(record.length) + "\n" + validator + "\n";
  if (text.size() > kMaxResumeRecordSize) return std::nullopt;
  return text;
}

std::optional<ResumeRecord> ParseResumeRecord(std::string_view bytes) {
  if (bytes.size() > kMaxResumeRecordSize || bytes.substr(0, kFirstLine.size()) != kFirstLine) return std::nullopt;
  bytes.remove_prefix(kFirstLine.size());
  const std::optional<std::string_view> url = TakeLine(bytes);
  const std::optional<std::string_view> length = TakeLine(bytes);
  const std::optional<std::string_view> validator = TakeLine(bytes);
  if (!url || !length || !validator || !bytes.empty()) return std::nullopt;
  ResumeRecord record;
  if (url->empty() || !Base::Utf8ToWide(*url, record.url) || HasControlCharacters(record.url)) return std::nullopt;
  const std::optional<std::uint64_t> count = ParseContentLength(std::wstring(length->begin(), length->end()));
  if (!count || *count == 0) return std::nullopt;
  record.length = *count;
  record.validator.assign(validator->begin(), validator->end());
  if (!IsValidatorText(record.validator)) return std::nullopt;
  return record;
}

}  // namespace GenericStub
