#pragma once
// Checks a workflow document before it is packed and signed: what the stub
// would refuse, and what would make an action fail, be skipped or read nothing
// on the users' machines, where nobody can mend it any more.

#include <string>
#include <vector>

#include "tools/stubpack/Finding.h"

// The faults of text in document order. The text is parsed as the stub parses
// it (JsonCpp's default reader: comments allowed); a syntax error is the one
// finding, with its line and column.
std::vector<Finding> CheckDocument(const std::string& text);
