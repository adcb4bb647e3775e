#include "ui/PartUrls.h"

#include <cstdio>
#include <utility>

namespace Ui {

namespace {

// "_NNN_MMM.": the URL comes from the document and can be of any length, so it
// is scanned in a loop rather than by a regular expression.
constexpr size_t kMarkerLength = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsMarkerAt(const std::string& url, size_t at) {
  if (url.size() - at < kMarkerLength) return false;
  const char* m = url.data() + at;
  return m[0] == '_' && IsDigit(m[1]) && IsDigit(m[2]) && IsDigit(m[3]) && m[4] == '_' && IsDigit(m[5]) &&
         IsDigit(m[6]) && IsDigit(m[7]) && m[8] == '.';
}

// Where the markers start, left to right; markers do not overlap.
std::vector<size_t> MarkerPositions(const std::string& url) {
  std::vector<size_t> positions;
  for (size_t at = 0; at < url.size();) {
    if (IsMarkerAt(url, at)) {
      positions.push_back(at);
      at += kMarkerLength;
    } else {
      ++at;
    }
  }
  return positions;
}

}  // namespace

std::vector<std::string> ExpandPartUrls(const std::string& url) {
  const std::vector<size_t> markers = MarkerPositions(url);
  if (markers.empty()) return {url};

  const char* count = url.data() + markers.front() + 5;
  const int parts = (count[0] - '0') * 100 + (count[1] - '0') * 10 + (count[2] - '0');
  std::vector<std::string> urls;
  for (int i = 1; i <= parts; ++i) {
    char marker[kMarkerLength + 1];
    std::snprintf(marker, sizeof marker, "_%03d_%03d.", i, parts);
    std::string part = url;
    for (const size_t at : markers) part.replace(at, kMarkerLength, marker);
    urls.push_back(std::move(part));
  }
  return urls;
}

}  // namespace Ui
