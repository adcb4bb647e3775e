#pragma once
// Standard base64 (A-Z, a-z, 0-9, "+", "/", "=" padding). Portable.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace BlockFormat {

// Decodes text up to its end or its first zero character. Characters outside
// the alphabet ("=" padding, line breaks, blanks) are skipped; each group of up
// to four alphabet characters gives (6 * count) / 8 bytes. Returns false, with
// what was decoded so far in out, when the result would exceed capacity bytes.
bool DecodeBase64Text(std::string_view text, size_t capacity, std::vector<uint8_t>& out);

std::string EncodeBase64(const uint8_t* data, size_t size);

}  // namespace BlockFormat
