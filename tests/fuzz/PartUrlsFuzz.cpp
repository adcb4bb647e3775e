// The URLs of a package published in numbered parts ("_NNN_MMM." in the name):
// every part's URL differs from the given one only in its part markers.
#include "FuzzSupport.h"
#include "catalog/PartUrls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string url(Bytes(data, size));
  const std::vector<std::string> urls = Catalog::ExpandPartUrls(url);
  FUZZ_CHECK(urls.size() <= 999);
  for (const std::string& part : urls) FUZZ_CHECK(part.size() == url.size());
  return 0;
}
