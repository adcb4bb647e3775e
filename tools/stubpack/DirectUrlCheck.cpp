#include "tools/stubpack/DirectUrlCheck.h"

#include <cctype>

#include "catalog/PartUrls.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string DirectUrlFault(const std::string& url) {
  for (const char c : url) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '"') {
      return "holds a blank, a double quote or a control character; the browser would get a broken address";
    }
  }
  const std::size_t schemeEnd = url.find("://");
  const std::string scheme = schemeEnd == std::string::npos ? std::string() : Lower(url.substr(0, schemeEnd));
  if (scheme != "http" && scheme != "https") return "is not an absolute http or https address";

  const std::size_t hostStart = schemeEnd + 3;
  if (hostStart == url.size() || std::string("/?#:@").find(url[hostStart]) != std::string::npos) {
    return "names no host";
  }

  if (Catalog::ExpandPartUrls(url).empty()) {
    return "names a package of 0 parts (\"_NNN_000.\"); the browser download would open nothing";
  }
  return {};
}
