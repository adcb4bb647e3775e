#include "download/ResumeRules.h"

#include "base/AsciiCase.h"
#include "download/DownloadProgress.h"

namespace GenericStub {

namespace {

constexpr std::size_t kMaxEtag = 256;
constexpr std::size_t kMaxDate = 64;

bool IsStrongEtag(std::wstring_view text) {
  if (text.size() < 2 || text.size() > kMaxEtag || text.front() != L'"' || text.back() != L'"') return false;
  for (const wchar_t c : text.substr(1, text.size() - 2)) {
    if (c < 0x21 || c > 0x7E || c == L'"') return false;
  }
  return true;
}

bool IsDateText(std::wstring_view text) {
  if (text.empty() || text.size() > kMaxDate || text.front() == L' ' || text.back() == L' ') return false;
  for (const wchar_t c : text) {
    const bool allowed = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
                         c == L' ' || c == L',' || c == L':' || c == L'-';
    if (!allowed) return false;
  }
  return true;
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

bool NamesBytes(std::wstring_view acceptRanges) {
  for (;;) {
    const std::size_t comma = acceptRanges.find(L',');
    if (Base::EqualsIgnoringAsciiCase(Trimmed(acceptRanges.substr(0, comma)), L"bytes")) return true;
    if (comma == std::wstring_view::npos) return false;
    acceptRanges.remove_prefix(comma + 1);
  }
}

// Decimal digits up to the separator, consumed with it from text.
std::optional<std::uint64_t> TakeNumber(std::wstring_view& text, wchar_t separator) {
  const std::size_t end = text.find(separator);
  const std::optional<std::uint64_t> number = ParseContentLength(std::wstring(text.substr(0, end)));
  text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
  return number;
}

}  // namespace

bool IsValidatorText(std::wstring_view text) { return IsStrongEtag(text) || IsDateText(text); }

std::optional<std::wstring> ResumeValidator(std::wstring_view etag, std::wstring_view lastModified,
                                            std::wstring_view acceptRanges) {
  if (!NamesBytes(acceptRanges)) return std::nullopt;
  if (!etag.empty()) {
    if (IsStrongEtag(etag)) return std::wstring(etag);
    return std::nullopt;
  }
  if (IsDateText(lastModified)) return std::wstring(lastModified);
  return std::nullopt;
}

std::wstring RangeRequestHeaders(std::uint64_t offset, std::wstring_view validator) {
  return L"Range: bytes=" + std::to_wstring(offset) + L"-\r\nIf-Range: " + std::wstring(validator) + L"\r\n";
}

bool ContinuesBody(std::wstring_view contentRange, std::uint64_t offset, std::uint64_t length) {
  constexpr std::wstring_view kUnit = L"bytes ";
  if (length == 0 || offset >= length) return false;
  if (!Base::EqualsIgnoringAsciiCase(contentRange.substr(0, kUnit.size()), kUnit)) return false;
  std::wstring_view rest = contentRange.substr(kUnit.size());
  const std::optional<std::uint64_t> first = TakeNumber(rest, L'-');
  const std::optional<std::uint64_t> last = TakeNumber(rest, L'/');
  return first == offset && last == length - 1 && ParseContentLength(std::wstring(rest)) == length;
}

}  // namespace GenericStub
