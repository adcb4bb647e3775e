#include "blockformat/Base64.h"

namespace BlockFormat {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Appends the (6 * count) / 8 whole bytes that count sextets carry.
bool FlushGroup(const int (&group)[4], size_t count, size_t capacity, std::vector<uint8_t>& out) {
  const uint32_t bits = (static_cast<uint32_t>(group[0]) << 18) |
                        (static_cast<uint32_t>(group[1]) << 12) |
                        (static_cast<uint32_t>(group[2]) << 6) | static_cast<uint32_t>(group[3]);
  const size_t bytes = (6 * count) / 8;
  if (out.size() + bytes > capacity) return false;
  for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(bits >> (16 - 8 * i)));
  return true;
}

}  // namespace

bool DecodeBase64Text(std::string_view text, size_t capacity, std::vector<uint8_t>& out) {
  out.clear();
  int group[4] = {0, 0, 0, 0};
  size_t count = 0;
  for (const char c : text) {
    if (c == '\0') break;
    const int sextet = SextetOf(c);
    if (sextet < 0) continue;
    group[count++] = sextet;
    if (count == 4) {
      if (!FlushGroup(group, count, capacity, out)) return false;
      group[0] = group[1] = group[2] = group[3] = 0;
      count = 0;
    }
  }
  return count == 0 || FlushGroup(group, count, capacity, out);
}

std::string EncodeBase64(const uint8_t* data, size_t size) {
  std::string text;
  text.reserve((size + 2) / 3 * 4);
  for (size_t i = 0; i < size; i += 3) {
    const size_t n = size - i < 3 ? size - i : 3;
    uint32_t bits = static_cast<uint32_t>(data[i]) << 16;
    if (n > 1) bits |= static_cast<uint32_t>(data[i + 1]) << 8;
    if (n > 2) bits |= data[i + 2];
    text.push_back(kAlphabet[(bits >> 18) & 63]);
    text.push_back(kAlphabet[(bits >> 12) & 63]);
    text.push_back(n > 1 ? kAlphabet[(bits >> 6) & 63] : '=');
    text.push_back(n > 2 ? kAlphabet[bits & 63] : '=');
  }
  return text;
}

}  // namespace BlockFormat
