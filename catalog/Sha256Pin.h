#pragma once
// A download pinned by its SHA-256: the package download's "sha256" field and
// the "sha256" member of a patch entry hold the hash as 64 hexadecimal digits,
// in either case. The program checks a body against it; stubpack refuses a
// text that is not one.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Catalog {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest that text names, or nothing when it is not exactly 64 hexadecimal
// digits (no blanks, no prefix).
std::optional<Sha256Digest> ParseSha256(std::wstring_view text);

// 64 lower-case hexadecimal digits, as the log shows a digest.
std::wstring Sha256Text(const Sha256Digest& digest);

}  // namespace Catalog
