// The text rules of the URL token: the key hidden in an authparam value, where
// that value lies in a URL, and the expiry held inside the 64-bit range.
#include <algorithm>
#include <cstring>
#include <limits>

#include "FuzzSupport.h"
#include "download/UrlTokenText.h"

using namespace GenericStub;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = Utf16Units(data, size);
  const std::wstring key = DescrambleKeyText(text);
  FUZZ_CHECK(key.size() == std::min(text.size() / 2, kMaxKeyBytes));
  for (const wchar_t c : key) FUZZ_CHECK(c >= 0 && c <= 0xFF);

  if (const std::optional<TextSpan> span = FindAuthParamValue(text)) {
    FUZZ_CHECK(span->begin <= span->end && span->end <= text.size());
    FUZZ_CHECK(text.compare(span->begin - 10, 10, L"authparam=") == 0);
    FUZZ_CHECK(text.substr(span->begin, span->end - span->begin).find(L'&') == std::wstring::npos);
  }
  FUZZ_CHECK(LowerHex(Bytes(data, size)).size() == 2 * size);

  if (size >= 16) {
    std::int64_t start = 0;
    std::int64_t lifetime = 0;
    std::memcpy(&start, data, 8);
    std::memcpy(&lifetime, data + 8, 8);
    std::int64_t sum = 0;
    const std::int64_t expiry = ExpiryOf(start, lifetime);
    if (!__builtin_add_overflow(start, lifetime, &sum)) {
      FUZZ_CHECK(expiry == sum);
    } else {
      FUZZ_CHECK(expiry == (lifetime > 0 ? std::numeric_limits<std::int64_t>::max()
                                         : std::numeric_limits<std::int64_t>::min()));
    }
    const std::wstring token = TokenText(expiry, key);
    FUZZ_CHECK(token.size() > key.size() && token[token.size() - key.size() - 1] == L'_');
  }
  return 0;
}
