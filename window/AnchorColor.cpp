#include "window/AnchorColor.h"

#include <cwctype>

namespace Window {

std::optional<std::uint32_t> ParseAnchorColor(const std::wstring& text) {
  std::uint32_t components[3] = {};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    while (at < text.size() && text[at] == L' ') ++at;
    std::size_t digits = 0;
    std::uint32_t value = 0;
    while (at < text.size() && std::iswdigit(text[at]) && digits < 4) {
      value = value * 10 + static_cast<std::uint32_t>(text[at] - L'0');
      ++at;
      ++digits;
    }
    if (digits == 0 || value > 255) return std::nullopt;
    components[i] = value;
    while (at < text.size() && text[at] == L' ') ++at;
    if (i < 2) {
      if (at >= text.size() || text[at] != L',') return std::nullopt;
      ++at;
    }
  }
  if (at != text.size()) return std::nullopt;
  return components[0] | (components[1] << 8) | (components[2] << 16);
}

}  // namespace Window
