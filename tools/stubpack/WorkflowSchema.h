#pragma once
// A JSON Schema (draft 2020-12) of the workflow document for editors: completion
// of action classes, "in" fields, outputs and checkers, and a mark on what
// validate would call an error. It is made from catalog/, the table the
// program and validate read, and accepts every document that validate finds no
// error in but one with a top-level value that is not a string (the stub ignores
// such a value; the schema marks it, as no action can refer to it). What a schema
// cannot tell (references, the stub that reads the document) stays validate's.

#include <json/json.h>

Json::Value WorkflowSchema();
