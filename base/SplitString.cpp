#include "base/SplitString.h"

namespace Base {

std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separators) {
  std::vector<std::wstring> pieces;
  std::wstring::size_type start = text.find_first_not_of(separators);
  while (start != std::wstring::npos) {
    const std::wstring::size_type end = text.find_first_of(separators, start);
    pieces.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    start = end == std::wstring::npos ? end : text.find_first_not_of(separators, end);
  }
  return pieces;
}

}  // namespace Base
