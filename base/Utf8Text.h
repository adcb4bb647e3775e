#pragma once
// Strict conversions between UTF-8 and UTF-16 (wchar_t is 16 bits on Windows),
// for code points up to U+10FFFF: the texts of the proxy manager's interface,
// of URLs sent over the network and of the test programs' records. No
// windows.h: the rules are unit-tested and fuzzed. Texts in the ANSI code page
// (the metadata, JSON strings, exception messages) go through AnsiText.h.

#include <string>
#include <string_view>

namespace Base {

// False for malformed UTF-8: bad lead or continuation bytes, truncated
// sequences, overlong forms, encoded surrogates, values above U+10FFFF.
bool Utf8ToWide(std::string_view text, std::wstring& out);
// False for a lone surrogate.
bool WideToUtf8(std::wstring_view text, std::string& out);

// For texts already checked, or coming from Windows: whatever cannot be
// converted becomes U+FFFD instead of failing.
std::wstring Utf8ToWideLenient(std::string_view text);
std::string WideToUtf8Lenient(std::wstring_view text);

}  // namespace Base
