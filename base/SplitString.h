#pragma once

#include <string>
#include <vector>

namespace Base {

// The non-empty pieces of text between any of the separator characters, in order.
std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separators);

}  // namespace Base
