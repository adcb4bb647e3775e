#pragma once
// The scheme the downloader answers a proxy's 407 with.

#include <cstdint>

namespace GenericStub {

// From the scheme bits the proxy offers (WinHTTP's WINHTTP_AUTH_SCHEME_*):
// the first of Basic, Negotiate, NTLM and Passport that is offered, else
// Digest when offered, else 0.
std::uint32_t ChooseProxyAuthScheme(std::uint32_t supported);

}  // namespace GenericStub
