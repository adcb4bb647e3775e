#pragma once
// The "sha256" pins of a document's downloads: a pin that is not a hash (an
// error: the stub refuses it), and a file fetched over plain http that neither
// a pin nor a later ExecutableVerifierAction checks (a warning: anyone on the
// way can replace it).

#include <json/json.h>

#include <vector>

#include "tools/stubpack/ActionCheck.h"
#include "tools/stubpack/Finding.h"

// Appends the findings of the index-th action (1-based) of workflow.
void CheckPins(const Json::Value& workflow, int index, const ValueSources& sources, std::vector<Finding>& findings);
