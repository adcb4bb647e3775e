// UnRAR spells this mingw header with capitals.
#include <powrprof.h>
