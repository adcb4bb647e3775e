#include "startup/DllSearch.h"

#include <windows.h>

namespace Startup {

// A download stub usually starts from the user's download folder, where anyone
// may have left a DLL of a known name. The program imports only DLLs that
// Windows always takes from System32; every other DLL is loaded later, and
// only from System32 once this has run.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace Startup
