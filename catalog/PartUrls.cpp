#include "catalog/PartUrls.h"

#include <cstdio>
#include <regex>

namespace Catalog {

std::vector<std::string> ExpandPartUrls(const std::string& url) {
  static const std::regex marker(R"(_\d{3}_\d{3}\.)", std::regex::ECMAScript);
  std::smatch match;
  if (!std::regex_search(url, match, marker)) return {url};

  int part = 1;
  int count = 1;
  if (std::sscanf(match.str().c_str(), "_%03d_%03d.", &part, &count) != 2) count = 1;

  std::vector<std::string> urls;
  for (int i = 1; i <= count; ++i) {
    char replacement[16];
    std::snprintf(replacement, sizeof replacement, "_%03d_%03d.", i, count);
    urls.push_back(std::regex_replace(url, marker, replacement));
  }
  return urls;
}

}  // namespace Catalog
