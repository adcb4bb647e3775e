// Loads a program file as a module and looks up the names it exports, as
// another program would.
//
//   exportprobe PROGRAM NAME...
//
// Prints "found <name>" or "missing <name>" per name, and "version <text>"
// for url_auth_version, the address of a text. Exit code 0 when all names are
// found, 1 otherwise. Only looks: the loader does not resolve the imports of
// a program file loaded this way, so its functions cannot be called here.

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "startup/AnsiText.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: exportprobe PROGRAM NAME...\n");
    return 2;
  }
  const HMODULE program = LoadLibraryW(argv[1]);
  if (program == nullptr) {
    std::printf("cannot load: error %lu\n", GetLastError());
    return 1;
  }
  int missing = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string name = WideToAnsi(argv[i]);
    const FARPROC address = GetProcAddress(program, name.c_str());
    std::printf("%s %s\n", address != nullptr ? "found" : "missing", name.c_str());
    if (address == nullptr) {
      ++missing;
    } else if (name == "url_auth_version") {
      std::printf("version %s\n", *reinterpret_cast<const char* const*>(reinterpret_cast<void*>(address)));
    }
  }
  return missing == 0 ? 0 : 1;
}
