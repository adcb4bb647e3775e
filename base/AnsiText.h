#pragma once
// Conversions between 8-bit text and wide text through the ANSI code page of the
// calling thread (CP_THREAD_ACP), which is how the stub reads its metadata, JSON
// strings and exception messages. UTF-8 texts go through Utf8Text.h.

#include <string>
#include <string_view>

namespace Base {

// Converts up to the first zero byte (or the end). Empty on failure.
std::wstring AnsiToWide(std::string_view text);
// Characters without a form in the code page become the code page's default character.
std::string WideToAnsi(std::wstring_view text);

}  // namespace Base
