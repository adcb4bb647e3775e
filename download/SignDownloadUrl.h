#pragma once
// Signing of download URLs that are handed to the browser.

#include <string>
#include <string_view>

namespace GenericStub {

// Replaces the value of the URL's first "authparam=" by "<expiry>_<token>": a
// token over the URL's path (as written, query excluded), valid for 30 days
// from now, with the key hidden in that value. The URL is narrow text in the
// thread's ANSI code page, and so is the result. A URL without "authparam="
// comes back unchanged; when the token cannot be computed (a URL that cannot
// be cracked, an empty key) the value is removed, since it hides the key.
std::string SignDownloadUrl(const std::string& url);

// The signing key of an authparam value: at most 255 characters, each a byte value.
std::wstring DescrambleAuthParam(std::wstring_view hex);

}  // namespace GenericStub
