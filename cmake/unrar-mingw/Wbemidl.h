// UnRAR spells this mingw header with capitals.
#include <wbemidl.h>
