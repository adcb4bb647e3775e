// proxyquery [--user U] [--password P] [--silent] [URL]
// Asks the proxy manager how to reach URL and prints its answer, one
// "name=value" line each (UTF-8; "<none>" for an absent text):
//   status, server, serverPort, user, password, authScheme.

#include <windows.h>

#include <cstdio>
#include <string>

#include "base/Utf8Text.h"
#include "proxy/ProxyManager.h"

using namespace ORVK::ProxyManager;
using Base::WideToUtf8Lenient;

namespace {

std::string Utf8(const wchar_t* text) { return WideToUtf8Lenient(text); }

void Print(const char* name, const char* value) { std::printf("%s=%s\n", name, value != nullptr ? value : "<none>"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string url, user, password;
  bool hasUser = false, hasPassword = false, silent = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--user" && hasValue) {
      user = Utf8(argv[++i]), hasUser = true;
    } else if (arg == L"--password" && hasValue) {
      password = Utf8(argv[++i]), hasPassword = true;
    } else if (arg == L"--silent") {
      silent = true;
    } else if (arg.rfind(L"--", 0) == 0) {
      std::fprintf(stderr, "proxyquery: unknown option\n");
      return 2;
    } else {
      url = Utf8(argv[i]);
    }
  }

  UserData input;
  input.url = url.c_str();
  input.user = hasUser ? user.c_str() : nullptr;
  input.password = hasPassword ? password.c_str() : nullptr;
  input.silentMode = silent;
  ProxyInfo output;
  const PmStatus status = orvkGetProxyInfo(&input, &output);

  std::printf("status=%d\n", status);
  Print("server", output.server);
  Print("serverPort", output.serverPort);
  Print("user", output.user);
  Print("password", output.password);
  std::printf("authScheme=%lu\n", static_cast<unsigned long>(output.authScheme));
  orvkFreeProxyInfo(&output);
  std::fflush(stdout);
  return 0;
}
