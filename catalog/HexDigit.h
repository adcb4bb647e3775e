#pragma once
// The value of one hexadecimal digit, either case: the hashes a document pins,
// the tokens of signed URLs and the tags of partial file names are written so.

namespace Catalog {

// 0 to 15, or -1 for a character that is not a hexadecimal digit.
constexpr int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace Catalog
