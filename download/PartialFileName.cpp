#include "download/PartialFileName.h"

#include "base/AsciiCase.h"

namespace GenericStub {

namespace {

constexpr wchar_t kLead[] = L".~";
constexpr wchar_t kTrail[] = L".partial";
constexpr std::size_t kLeadLength = 2;
constexpr std::size_t kTagLength = 16;
constexpr std::size_t kTrailLength = 8;

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

}  // namespace

std::wstring PartialFileName(const std::wstring& target, std::uint64_t tag) {
  std::wstring digits(kTagLength, L'0');
  for (std::size_t i = kTagLength; i-- > 0; tag >>= 4) digits[i] = L"0123456789abcdef"[tag & 0xF];
  return target + kLead + digits + kTrail;
}

std::wstring PartialFilePattern(const std::wstring& target) { return target + kLead + L"*" + kTrail; }

bool IsPartialFileOf(const std::wstring& found, const std::wstring& targetName) {
  const std::size_t base = targetName.size();
  if (found.size() != base + kLeadLength + kTagLength + kTrailLength) return false;
  // The listing matched the name without regard to case, as the file system does.
  const std::wstring_view view(found);
  if (!Base::EqualsIgnoringAsciiCase(view.substr(0, base), targetName)) return false;
  if (view.substr(base, kLeadLength) != kLead) return false;
  for (std::size_t i = base + kLeadLength; i < base + kLeadLength + kTagLength; ++i) {
    if (!IsHexDigit(found[i])) return false;
  }
  return Base::EqualsIgnoringAsciiCase(view.substr(base + kLeadLength + kTagLength), kTrail);
}

std::wstring FolderPartOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

}  // namespace GenericStub
