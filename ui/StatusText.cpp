#include "ui/StatusText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace Ui {

std::wstring FormatStatusText(const std::wstring& format, const std::wstring& text, double number) {
  std::wstring out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%') {
      out += format[i];
    } else if (format.compare(i, 2, L"%%") == 0) {
      out += L'%';
      i += 1;
    } else if (format.compare(i, 2, L"%s") == 0) {
      out += text;
      i += 1;
    } else if (format.compare(i, 4, L"%.2f") == 0) {
      char digits[64] = {};
      std::snprintf(digits, sizeof digits, "%.2f", number);
      for (const char* c = digits; *c != '\0'; ++c) out += static_cast<wchar_t>(*c);
      i += 3;
    } else {
      out += format[i];
    }
  }
  return out;
}

int FailureCodeOf(const std::string& errorText) {
  const long code = std::strtol(errorText.c_str(), nullptr, 10);
  if (code > INT_MAX) return INT_MAX;
  if (code < INT_MIN) return INT_MIN;
  return static_cast<int>(code);
}

float ParseProgressPercent(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const int savedErrno = errno;
  errno = 0;
  const float value = std::strtof(begin, &end);
  const bool outOfRange = errno == ERANGE;
  errno = savedErrno;
  if (end == begin) throw std::invalid_argument("invalid stof argument");
  if (outOfRange) throw std::out_of_range("stof argument out of range");
  return value;
}

std::optional<std::string> PlainProgressText(const std::wstring& message) {
  static const std::wstring kPrefix = L"{\"className\":\"class GenericStub::CDownloader\",\"content\":{\"progress\":\"";
  static const std::wstring kSuffix = L"\"}}";
  if (message.size() < kPrefix.size() + kSuffix.size() || message.compare(0, kPrefix.size(), kPrefix) != 0 ||
      message.compare(message.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
    return std::nullopt;
  }
  std::string text;
  for (std::size_t i = kPrefix.size(); i < message.size() - kSuffix.size(); ++i) {
    const wchar_t c = message[i];
    if (c < L' ' || c > L'~' || c == L'"' || c == L'\\') return std::nullopt;
    text += static_cast<char>(c);
  }
  return text;
}

int PositionOfPercent(float percent) {
  if (std::isnan(percent)) return 0;
  if (percent >= 2147483647.0f) return INT_MAX;
  if (percent <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(percent);
}

}  // namespace Ui
