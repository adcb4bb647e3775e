#include "download/DownloadProgress.h"

#include <algorithm>
#include <cwchar>
#include <limits>

namespace GenericStub {

std::optional<std::uint64_t> ParseContentLength(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

std::uint32_t ReadSize(std::uint32_t available, std::uint64_t received, std::optional<std::uint64_t> contentLength) {
  std::uint64_t block = kReadBlockBytes;
  if (contentLength && *contentLength > received) block = std::min(block, *contentLength - received);
  return std::max(available, static_cast<std::uint32_t>(block));
}

std::optional<double> ProgressPercent(std::uint64_t received, std::optional<std::uint64_t> contentLength) {
  if (!contentLength) return std::nullopt;
  if (*contentLength == 0 || received >= *contentLength) return 100.0;
  return static_cast<double>(received) * 100.0 / static_cast<double>(*contentLength);
}

std::wstring ProgressContent(double percent) {
  wchar_t text[64];
  std::swprintf(text, sizeof text / sizeof *text, L"{\"progress\":\"%.2f\"}", percent);
  return text;
}

std::wstring ReceivedContent(std::uint64_t received) {
  return L"{\"received\":\"" + std::to_wstring(received) + L"\"}";
}

}  // namespace GenericStub
