#include "proxy/AuthSchemeChoice.h"

#include "base/AsciiCase.h"
#include "proxy/ProxyTypes.h"

namespace ORVK::ProxyManager {

uint32_t ChooseCredentialScheme(uint32_t supported) {
  if (supported & (kAuthSchemeNegotiate | kAuthSchemeNtlm)) return kAuthSchemeNtlm;
  if (supported & kAuthSchemeDigest) return kAuthSchemeDigest;
  if (supported & kAuthSchemeBasic) return kAuthSchemeBasic;
  return 0;
}

uint32_t ChooseReportedScheme(uint32_t supported) {
  if (supported & (kAuthSchemeNegotiate | kAuthSchemeNtlm)) return 4;
  if (supported & kAuthSchemeDigest) return 2;
  if (supported & kAuthSchemeBasic) return 1;
  return 0;
}

std::wstring CredentialUserName(const std::wstring& user, const std::wstring& domain,
                                const std::wstring& target) {
  if (domain.empty() || Base::EqualsIgnoringAsciiCase(domain, target)) return user;
  return domain + L"\\" + user;
}

}  // namespace ORVK::ProxyManager
