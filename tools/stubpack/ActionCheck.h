#pragma once
// Checks one element of a document's "workflow" the way the stub reads it
// (class, condition, "in" fields and "out" mapping), and what it publishes for
// the elements after it.

#include <json/json.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/stubpack/Finding.h"

// Where the "=name" references of an action can be satisfied from.
struct ValueSources {
  std::map<std::string, std::string> documentValues;  // the root's string members
  std::map<std::string, std::set<int>> publishers;    // store name -> the actions (1-based) that publish it
};

// The store names that element writes when it runs: its mapped outputs and the
// entries its class sets itself. Nothing for an element the stub would not run.
std::vector<std::string> PublishedNames(const Json::Value& element);

// Appends the faults of element, the index-th action (1-based), to findings.
void CheckAction(const Json::Value& element, int index, const ValueSources& sources,
                 std::vector<Finding>& findings);
