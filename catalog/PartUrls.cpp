#include "catalog/PartUrls.h"

#include <cstdio>

namespace Catalog {
namespace {

constexpr std::string::size_type kMarkerLength = 9;  // "_NNN_MMM."

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the first marker at or after from begins, or npos.
std::string::size_type FindMarker(const std::string& url, std::string::size_type from) {
  for (std::string::size_type at = url.find('_', from); at != std::string::npos; at = url.find('_', at + 1)) {
    if (url.size() - at < kMarkerLength) break;
    const char* c = url.data() + at;
    if (IsDigit(c[1]) && IsDigit(c[2]) && IsDigit(c[3]) && c[4] == '_' && IsDigit(c[5]) && IsDigit(c[6]) &&
        IsDigit(c[7]) && c[8] == '.') {
      return at;
    }
  }
  return std::string::npos;
}

int ThreeDigits(const char* c) { return (c[0] - '0') * 100 + (c[1] - '0') * 10 + (c[2] - '0'); }

}  // namespace

std::vector<std::string> ExpandPartUrls(const std::string& url) {
  const std::string::size_type first = FindMarker(url, 0);
  if (first == std::string::npos) return {url};
  const int count = ThreeDigits(url.data() + first + 5);

  std::vector<std::string> urls;
  for (int i = 1; i <= count; ++i) {
    char replacement[16];
    std::snprintf(replacement, sizeof replacement, "_%03d_%03d.", i, count);
    // Every marker, left to right, as they do not overlap.
    std::string part;
    std::string::size_type done = 0;
    for (std::string::size_type at = first; at != std::string::npos; at = FindMarker(url, at + kMarkerLength)) {
      part.append(url, done, at - done).append(replacement);
      done = at + kMarkerLength;
    }
    urls.push_back(part.append(url, done, std::string::npos));
  }
  return urls;
}

}  // namespace Catalog
