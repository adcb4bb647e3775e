// The proxy list, as a PAC script or the settings hand it over, for a URL.
// Input: UTF-16 units, the URL up to the first zero unit, then the list.
#include "FuzzSupport.h"
#include "proxy/PmLogLine.h"
#include "proxy/ProxyListParser.h"

using namespace ORVK::ProxyManager;

namespace {

class LineSink : public PmLogSink {
 public:
  void write(int level, const std::wstring& message) override { PmLogLine(level, message); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring units = Utf16Units(data, size);
  const size_t zero = units.find(L'\0');
  const std::wstring url = units.substr(0, zero);
  const std::wstring list = zero == std::wstring::npos ? std::wstring() : units.substr(zero + 1);
  LineSink log;
  std::vector<ProxyCandidate> candidates;
  if (FetchServerInfo(url, list, candidates, log)) {
    for (const ProxyCandidate& candidate : candidates) {
      FUZZ_CHECK(candidate.server.find(';') == std::string::npos);
    }
  } else {
    FUZZ_CHECK(candidates.empty());
  }
  return 0;
}
