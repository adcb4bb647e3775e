#pragma once
// What a download keeps beside its partial file so that a later run can
// continue it: the URL it fetches, the length of the whole body and the
// validator of the response whose start the partial file holds. A record is
// read back from a folder that others can write, so it is parsed strictly and
// trusted no further than for asking a server for the rest: the server decides
// by the validator whether the rest belongs to the same body. No windows.h.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace GenericStub {

struct ResumeRecord {
  std::wstring url;
  std::uint64_t length = 0;
  std::wstring validator;
};

// A record file larger than this is not one of ours.
constexpr std::size_t kMaxResumeRecordSize = 16384;

// "tarnwick-resume 1\n", then the URL (UTF-8), the length (decimal) and the
// validator, each on a line of its own ending in "\n". Nothing when the record
// cannot be written so that ParseResumeRecord gives it back: a URL with control
// characters or lone surrogates, a length of 0, a validator that is no
// validator text (ResumeRules.h), or more than kMaxResumeRecordSize bytes.
std::optional<std::string> FormatResumeRecord(const ResumeRecord& record);

// The record of bytes in exactly the form FormatResumeRecord writes; nothing
// for anything else (another first line, a missing or extra line, "\r", bad
// UTF-8, a length of 0 or with other characters than digits, too many bytes).
std::optional<ResumeRecord> ParseResumeRecord(std::string_view bytes);

}  // namespace GenericStub
