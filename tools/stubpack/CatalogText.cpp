#include "tools/stubpack/CatalogText.h"

#include <algorithm>
#include <cctype>

std::string Narrow(std::wstring_view ascii) {
  std::string text;
  for (const wchar_t c : ascii) text.push_back(static_cast<char>(c));
  return text;
}

std::vector<std::string> Narrow(const std::vector<std::wstring>& ascii) {
  std::vector<std::string> names;
  for (const std::wstring& name : ascii) names.push_back(Narrow(name));
  return names;
}

std::vector<std::string> SplitPieces(const std::string& text, const std::string& separators) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string CodeText(Catalog::ErrorCode code) { return "code " + Catalog::ErrorCodeText(code); }

std::wstring Widen(std::string_view bytes) {
  std::wstring text;
  for (const char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return text;
}

std::string CaseHint(const std::string& given, const std::vector<std::string>& known) {
  for (const std::string& name : known) {
    if (name.size() != given.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(name[i])) == std::tolower(static_cast<unsigned char>(given[i]));
    }
    if (same) return " (did you mean \"" + name + "\"?)";
  }
  return {};
}
