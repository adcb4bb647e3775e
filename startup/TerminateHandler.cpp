// The program's terminate handler, linked in place of libstdc++'s own: it
// writes the same lines to stderr, with the exception type's mangled name,
// because the one that demangles it brings a C++ demangler (about 50 KB) into
// a program that never shows its stderr to anybody.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

#include <cxxabi.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool terminating = false;
  if (terminating) {
    std::fputs("terminate called recursively\n", stderr);
    std::abort();
  }
  terminating = true;
  if (const std::type_info* type = abi::__cxa_current_exception_type()) {
    const char* name = type->name();
    std::fprintf(stderr, "terminate called after throwing an instance of '%s'\n", name[0] == '*' ? name + 1 : name);
    try {
      throw;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "  what():  %s\n", error.what());
    } catch (...) {
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
