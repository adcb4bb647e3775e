#include "download/UrlTokenText.h"

#include <limits>

#include "catalog/HexDigit.h"

namespace GenericStub {

namespace {

using Catalog::HexDigitValue;

unsigned ReadHexPair(wchar_t high, wchar_t low) {
  const int first = HexDigitValue(high);
  if (first < 0) return 0;
  const int second = HexDigitValue(low);
  if (second < 0) return static_cast<unsigned>(first);
  return static_cast<unsigned>(first * 16 + second);
}

}  // namespace

std::wstring DescrambleKeyText(std::wstring_view hex) {
  std::wstring key;
  const std::size_t pairs = hex.size() / 2 < kMaxKeyBytes ? hex.size() / 2 : kMaxKeyBytes;
  key.reserve(pairs);
  for (std::size_t i = 0; i < pairs; ++i) {
    const unsigned byte = ReadHexPair(hex[2 * i], hex[2 * i + 1]);
    const unsigned rotated = ((byte >> 3) | (byte << 5)) & 0xFFu;
    key.push_back(static_cast<wchar_t>(rotated));
  }
  return key;
}

std::int64_t ExpiryOf(std::int64_t start, std::int64_t lifetime) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (lifetime > 0 && start > kMax - lifetime) return kMax;
  if (lifetime < 0 && start < kMin - lifetime) return kMin;
  return start + lifetime;
}

std::array<unsigned char, 4> ExpiryDigestBytes(std::int64_t expiry) {
  const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(expiry) & 0xFFFFFFFFu);
  return {static_cast<unsigned char>(low & 0xFF), static_cast<unsigned char>((low >> 8) & 0xFF),
          static_cast<unsigned char>((low >> 16) & 0xFF), static_cast<unsigned char>(low >> 24)};
}

std::string LowerHex(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

std::optional<TextSpan> FindAuthParamValue(std::wstring_view url) {
  const std::size_t name = url.find(L"authparam=");
  if (name == std::wstring_view::npos) return std::nullopt;
  const std::size_t equals = url.find(L'=', name);
  const std::size_t ampersand = url.find(L'&', equals + 1);
  return TextSpan{equals + 1, ampersand == std::wstring_view::npos ? url.size() : ampersand};
}

std::wstring TokenText(std::int64_t expiry, std::wstring_view token) {
  std::wstring text = std::to_wstring(expiry);
  text += L'_';
  text += token;
  return text;
}

}  // namespace GenericStub
