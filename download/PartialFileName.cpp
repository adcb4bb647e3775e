#include "download/PartialFileName.h"

#include <string_view>

#include "base/AsciiCase.h"
#include "catalog/HexDigit.h"

namespace GenericStub {

namespace {

constexpr std::wstring_view kLead = L".~";
constexpr std::wstring_view kPartialTrail = L".partial";
constexpr std::wstring_view kRecordTrail = L".resume";
constexpr std::size_t kTagLength = 16;

std::wstring Name(const std::wstring& target, std::uint64_t tag, std::wstring_view trail) {
  std::wstring digits(kTagLength, L'0');
  for (std::size_t i = kTagLength; i-- > 0; tag >>= 4) digits[i] = L"0123456789abcdef"[tag & 0xF];
  return target + std::wstring(kLead) + digits + std::wstring(trail);
}

}  // namespace

std::wstring PartialFileName(const std::wstring& target, std::uint64_t tag) { return Name(target, tag, kPartialTrail); }

std::wstring ResumeRecordName(const std::wstring& target, std::uint64_t tag) { return Name(target, tag, kRecordTrail); }

std::wstring PartialFilePattern(const std::wstring& target) { return target + std::wstring(kLead) + L"*"; }

std::optional<LeftoverName> ParseLeftoverName(const std::wstring& found, const std::wstring& targetName) {
  // The listing matched the name without regard to case, as the file system does.
  std::wstring_view view(found);
  const std::size_t base = targetName.size();
  if (view.size() < base + kLead.size() + kTagLength ||
      !Base::EqualsIgnoringAsciiCase(view.substr(0, base), targetName) || view.substr(base, kLead.size()) != kLead) {
    return std::nullopt;
  }
  view.remove_prefix(base + kLead.size());
  LeftoverName name;
  for (const wchar_t c : view.substr(0, kTagLength)) {
    const int digit = Catalog::HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    name.tag = (name.tag << 4) | static_cast<unsigned>(digit);
  }
  view.remove_prefix(kTagLength);
  name.record = Base::EqualsIgnoringAsciiCase(view, kRecordTrail);
  if (!name.record && !Base::EqualsIgnoringAsciiCase(view, kPartialTrail)) return std::nullopt;
  return name;
}

std::wstring FolderPartOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

}  // namespace GenericStub
