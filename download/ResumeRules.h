#pragma once
// When a body that broke off is continued instead of fetched again, and the
// header texts that ask for the rest. A range request is only as safe as the
// validator it carries: with If-Range the server sends the rest only while the
// body is still the one whose start the file holds, and the whole body
// otherwise. No windows.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace GenericStub {

// The If-Range value that makes continuing a response's body safe, from its
// ETag, Last-Modified and Accept-Ranges headers (an absent header is empty):
// the ETag when it is strong; the Last-Modified date only when there is no
// ETag at all (HTTP lets no date stand in for a weak tag). Nothing when
// Accept-Ranges does not name "bytes", or when the value is not a validator
// text: it goes back into a request header.
std::optional<std::wstring> ResumeValidator(std::wstring_view etag, std::wstring_view lastModified,
                                            std::wstring_view acceptRanges);

// A strong ETag of at most 256 characters (a quoted tag of visible ASCII
// without quotes inside), or a date of 1 to 64 characters made of ASCII
// letters, digits, blanks, "," ":" and "-" (every form of HTTP-date), not
// beginning or ending with a blank.
bool IsValidatorText(std::wstring_view text);

// "Range: bytes=<offset>-\r\nIf-Range: <validator>\r\n": the body from byte
// offset on, if it still is the one of validator.
std::wstring RangeRequestHeaders(std::uint64_t offset, std::wstring_view validator);

// True when a 206's Content-Range is exactly "bytes <offset>-<length - 1>/<length>"
// (the unit in any case): the rest of the same body of length bytes, to be
// written from offset on. Anything else (another start, end or total, "*", a
// multipart answer without the header) does not continue the file.
bool ContinuesBody(std::wstring_view contentRange, std::uint64_t offset, std::uint64_t length);

}  // namespace GenericStub
