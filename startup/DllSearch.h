#pragma once

namespace Startup {

// Restricts the DLLs that the process loads from now on to System32. Call first.
void RestrictDllSearch();

}  // namespace Startup
