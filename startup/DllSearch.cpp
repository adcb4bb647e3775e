#include "startup/DllSearch.h"

#include <windows.h>

namespace Startup {

// A download stub usually starts from the user's download folder, where a web
// page may have left a DLL of a known name, and Windows looks in the program's
// folder first for every DLL that is not a KnownDLL. So the import table names
// only DLLs that Windows takes from System32 whatever the folder; every other
// DLL is delay-loaded (cmake/DelayLoad.cmake), that is loaded by LoadLibrary
// when one of its functions is first called, which after this call searches
// System32 alone. Nothing may call into such a DLL before this has run.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace Startup
