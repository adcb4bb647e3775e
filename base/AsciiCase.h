#pragma once

#include <string_view>

namespace Base {

// Compares ASCII letters without regard to case and every other character exactly,
// whatever the user's locale.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

}  // namespace Base
