#include "actions/CompareVersion.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "base/SplitString.h"

namespace GenericStub {

namespace {

long long PieceValue(const std::vector<std::wstring>& pieces, std::size_t index) {
  return index < pieces.size() ? std::wcstoll(pieces[index].c_str(), nullptr, 10) : 0;
}

}  // namespace

bool CompareVersion(const std::wstring& version, const std::wstring& minimum) {
  if (minimum.empty()) return true;
  if (version.empty()) return false;
  const std::vector<std::wstring> have = Base::SplitString(version, L".");
  const std::vector<std::wstring> need = Base::SplitString(minimum, L".");
  for (std::size_t i = 0; i < std::max(have.size(), need.size()); ++i) {
    const long long a = PieceValue(have, i);
    const long long b = PieceValue(need, i);
    if (a != b) return a > b;
  }
  return true;
}

}  // namespace GenericStub
