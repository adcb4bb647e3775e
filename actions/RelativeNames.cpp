#include "actions/RelativeNames.h"

#include <algorithm>

#include "base/AsciiCase.h"

namespace GenericStub {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDeviceName(std::wstring_view component) {
  // Windows reads "NUL.txt" and "nul " as the device as well.
  component = component.substr(0, component.find(L'.'));
  while (!component.empty() && component.back() == L' ') component.remove_suffix(1);
  static constexpr const wchar_t* kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices) {
    if (Base::EqualsIgnoringAsciiCase(component, device)) return true;
  }
  if (component.size() != 4 || !(component[3] >= L'1' && component[3] <= L'9')) return false;
  const std::wstring_view stem = component.substr(0, 3);
  return Base::EqualsIgnoringAsciiCase(stem, L"COM") || Base::EqualsIgnoringAsciiCase(stem, L"LPT");
}

}  // namespace

std::wstring RelativeNameRefusal(const std::wstring& name) {
  if (name.empty()) return L"an empty name";
  if (IsSeparator(name[0])) return L"a path from the root";
  if (name.find(L':') != std::wstring::npos) return L"a drive or a stream (\":\")";
  if (std::any_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || std::wstring_view(L"<>\"|?*").find(c) != std::wstring_view::npos;
      })) {
    return L"a character that Windows does not allow in names";
  }
  const std::wstring_view text(name);
  for (size_t start = 0; start <= text.size();) {
    size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::wstring_view component = text.substr(start, end - start);
    if (!component.empty()) {
      if (component == L"..") return L"a \"..\" that climbs out";
      if (component.back() == L'.' || component.back() == L' ') return L"a component ending in \".\" or a blank";
      if (IsDeviceName(component)) return L"a device name";
    }
    start = end + 1;
  }
  return {};
}

std::wstring PathBelow(const std::wstring& folder, const std::wstring& name) {
  std::wstring path = folder + name;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(folder.size()), path.end(), L'/', L'\\');
  return path;
}

}  // namespace GenericStub
