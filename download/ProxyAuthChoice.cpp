#include "download/ProxyAuthChoice.h"

#include "proxy/ProxyTypes.h"

namespace GenericStub {

std::uint32_t ChooseProxyAuthScheme(std::uint32_t supported) {
  using namespace ORVK::ProxyManager;
  static constexpr std::uint32_t kPreference[] = {kAuthSchemeBasic, kAuthSchemeNegotiate, kAuthSchemeNtlm,
                                                  kAuthSchemePassport, kAuthSchemeDigest};
  for (const std::uint32_t scheme : kPreference) {
    if ((supported & scheme) != 0) return scheme;
  }
  return 0;
}

}  // namespace GenericStub
