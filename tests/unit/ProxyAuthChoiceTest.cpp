#include <gtest/gtest.h>

#include <cstdint>

#include "download/ProxyAuthChoice.h"
#include "proxy/ProxyTypes.h"

namespace GenericStub {
namespace {

TEST(ProxyAuth, BasicFirstThenNegotiateNtlmPassportThenDigest) {
  using namespace ORVK::ProxyManager;
  struct {
    std::uint32_t offered, chosen;
  } const cases[] = {
      {kAuthSchemeBasic | kAuthSchemeNtlm, kAuthSchemeBasic},
      {kAuthSchemeNtlm | kAuthSchemeNegotiate, kAuthSchemeNegotiate},
      {kAuthSchemeNtlm | kAuthSchemeDigest, kAuthSchemeNtlm},
      {kAuthSchemePassport | kAuthSchemeDigest, kAuthSchemePassport},
      {kAuthSchemeDigest, kAuthSchemeDigest},
      {0, 0},
      {0x20, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseProxyAuthScheme(c.offered), c.chosen) << c.offered;
}

}  // namespace
}  // namespace GenericStub
