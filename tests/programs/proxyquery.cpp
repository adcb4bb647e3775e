// proxyquery [--user U] [--password P] [--silent] [URL]
// (exit code 2 for an unknown option)
// Asks the proxy manager how to reach URL and prints its answer, one
// "name=value" line each (UTF-8; "<none>" for an absent text):
//   status, server, serverPort, user, password, authScheme.

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "base/Utf8Text.h"
#include "proxy/ProxyManager.h"

using namespace ORVK::ProxyManager;
using Base::WideToUtf8Lenient;

namespace {

void Print(const char* name, const char* value) { std::printf("%s=%s\n", name, value != nullptr ? value : "<none>"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  UserData input;
  std::string url;
  std::optional<std::string> user, password;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--user" && hasValue) user = WideToUtf8Lenient(argv[++i]);
    else if (arg == L"--password" && hasValue) password = WideToUtf8Lenient(argv[++i]);
    else if (arg == L"--silent") input.silentMode = true;
    else if (arg.rfind(L"--", 0) != 0) url = WideToUtf8Lenient(arg);
    else return 2;  // an unknown option
  }
  input.url = url.c_str();
  input.user = user ? user->c_str() : nullptr;
  input.password = password ? password->c_str() : nullptr;
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
