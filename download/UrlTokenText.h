#pragma once
// The text rules of the URL token, apart from hashing and the platform's calls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace GenericStub {

// The longest signing key, in bytes; an authparam value beyond 510 hex digits is cut.
constexpr std::size_t kMaxKeyBytes = 255;

// The signing key hidden in an authparam value: each pair of hex digits is one
// byte rotated right by 3 bits. A trailing odd digit is ignored; a pair is read
// as far as it holds hex digits (none gives 0). Every character of the result
// is a byte value 0 to 255.
std::wstring DescrambleKeyText(std::wstring_view hex);

// start + lifetime, held at the limits of the 64-bit range instead of
// overflowing for extreme arguments.
std::int64_t ExpiryOf(std::int64_t start, std::int64_t lifetime);

// The low 32 bits of expiry, least significant byte first: how the expiry
// enters the first digest.
std::array<unsigned char, 4> ExpiryDigestBytes(std::int64_t expiry);

// Bytes as lowercase hex digits, high nibble first.
std::string LowerHex(std::string_view bytes);

// Where the value of the first "authparam=" lies in url: from after the "="
// that follows it up to the next "&" or the end. Nothing when url has no
// "authparam=".
struct TextSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};
std::optional<TextSpan> FindAuthParamValue(std::wstring_view url);

// "<expiry in decimal>_<token>": what replaces the authparam value.
std::wstring TokenText(std::int64_t expiry, std::wstring_view token);

}  // namespace GenericStub
