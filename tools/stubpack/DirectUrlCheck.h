#pragma once
// What the browser download of a failed run needs of the document's "directUrl".

#include <string>

// Why the error window's browser download could not use url, or empty when it
// can: an absolute http or https address with a host, without blanks, double
// quotes or control characters (the browser gets it unquoted on its command
// line), whose part marker, if any, names at least one part.
std::string DirectUrlFault(const std::string& url);
