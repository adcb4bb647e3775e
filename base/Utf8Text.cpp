#include "base/Utf8Text.h"

#include <cstdint>

namespace Base {
namespace {

// Wide texts hold UTF-16 code units: wchar_t is 16 bits on Windows. Where it is
// wider (the native fuzz build), a unit above 0xFFFF is not UTF-16 and is
// refused like a lone surrogate.
static_assert(sizeof(wchar_t) >= 2, "wide texts are UTF-16");
constexpr char32_t kLargestUnit = 0xFFFF;

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[pos]; advances pos. False on malformed input
// (pos then points past the first offending byte).
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& cp) {
  const auto lead = static_cast<uint8_t>(text[pos++]);
  if (lead < 0x80) {
    cp = lead;
    return true;
  }
  size_t extra = 0;
  char32_t min = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1Fu, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0Fu, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07u, min = 0x10000;
  } else {
    return false;
  }
  for (size_t i = 0; i < extra; ++i) {
    if (pos >= text.size()) return false;
    const auto next = static_cast<uint8_t>(text[pos]);
    if ((next & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (next & 0x3Fu);
    ++pos;
  }
  return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

void AppendUtf16(char32_t cp, std::wstring& out) {
  if (cp < 0x10000) {
    out.push_back(static_cast<wchar_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes one UTF-16 code point at text[pos]; false for a lone surrogate.
bool DecodeUtf16(std::wstring_view text, size_t& pos, char32_t& cp) {
  const auto unit = static_cast<char32_t>(text[pos++]);
  if (unit > kLargestUnit) return false;
  if (unit < 0xD800 || unit > 0xDFFF) {
    cp = unit;
    return true;
  }
  if (unit > 0xDBFF || pos >= text.size()) return false;
  const auto low = static_cast<char32_t>(text[pos]);
  if (low < 0xDC00 || low > 0xDFFF) return false;
  ++pos;
  cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  return true;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool Utf8ToWide(std::string_view text, std::wstring& out) {
  std::wstring result;
  result.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) return false;
    AppendUtf16(cp, result);
  }
  out = std::move(result);
  return true;
}

bool WideToUtf8(std::wstring_view text, std::string& out) {
  std::string result;
  result.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    if (!DecodeUtf16(text, pos, cp)) return false;
    AppendUtf8(cp, result);
  }
  out = std::move(result);
  return true;
}

std::wstring Utf8ToWideLenient(std::string_view text) {
  std::wstring result;
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    AppendUtf16(DecodeUtf8(text, pos, cp) ? cp : kReplacement, result);
  }
  return result;
}

std::string WideToUtf8Lenient(std::wstring_view text) {
  std::string result;
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    AppendUtf8(DecodeUtf16(text, pos, cp) ? cp : kReplacement, result);
  }
  return result;
}

}  // namespace Base
