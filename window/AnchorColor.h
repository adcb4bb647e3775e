#pragma once
// The browser's link colours as the registry keeps them: "r,g,b" in decimal.

#include <cstdint>
#include <optional>
#include <string>

namespace Window {

// The colour as 0x00BBGGRR (the layout of a Windows colour reference), or
// nothing when the text is not three components of 0 to 255 separated by commas.
std::optional<std::uint32_t> ParseAnchorColor(const std::wstring& text);

}  // namespace Window
