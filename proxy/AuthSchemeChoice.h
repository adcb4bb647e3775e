#pragma once
// Which proxy authentication scheme to use and to report, and how a name
// entered in the credential dialog becomes the stored user name.

#include <cstdint>
#include <string>

namespace ORVK::ProxyManager {

// The scheme handed to WinHttpSetCredentials for a set of offered scheme bits:
// NTLM when Negotiate or NTLM is offered, else Digest, else Basic, else 0.
uint32_t ChooseCredentialScheme(uint32_t supported);

// The answer's authScheme code: 4 for Negotiate or NTLM, 2 Digest, 1 Basic, else 0.
uint32_t ChooseReportedScheme(uint32_t supported);

// The user name to keep from a parsed dialog entry: the user alone when the
// domain part is empty or names the proxy host itself (ASCII letters without
// regard to case), else "domain\user".
std::wstring CredentialUserName(const std::wstring& user, const std::wstring& domain,
                                const std::wstring& target);

}  // namespace ORVK::ProxyManager
