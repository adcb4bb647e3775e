#pragma once
// The metadata document: a JSON object whose "workflow" array lists the actions
// of the run and whose other string members are the run's named values.
//
// Structure failures log an ERROR line and raise a workflow error
// (kMetadataNotJson, kProductLangMissing, kWorkflowMalformed,
// kRequestTypeMissing); a value of the wrong type where a string is read (an "action", an
// "in" or "out" member) raises Json::LogicError.

#include <json/json.h>

#include <string>

#include "workflow/ValueStore.h"
#include "workflow/Workflow.h"

namespace GenericStub {

// Parses the document (wide text, read through the ANSI code page), appends
// its actions to workflow's list and returns the root's string members, the
// run's first ValueStore content. The whole document is parsed before any
// action exists, so a malformed element anywhere means that nothing runs.
ValueMap ParseMetadata(const std::wstring& metadata, Workflow& workflow);

// Appends one action per element of the "workflow" value; kWorkflowMalformed when it is not an array.
void LoadActions(const Json::Value& actions, Workflow& workflow);

// Appends the action that element describes, or nothing when its class is not
// registered; kWorkflowMalformed when element is not an object with an "action" member.
void AddAction(const Json::Value& element, Workflow& workflow);

}  // namespace GenericStub
