#pragma once
// One fault that stubpack finds in a workflow document, reported like a
// compiler's diagnostic:
//   workflow.json: action 3 (PackageExtractionAction): error: missing mandatory "in" field "fileName"
//   workflow.json:4:12: error: not valid JSON: Missing ',' or '}' in object declaration

#include <string>
#include <vector>

enum class Severity { kWarning, kError };

struct Finding {
  Severity severity = Severity::kError;
  std::string message;
  int action = 0;          // 1-based place in "workflow"; 0 for the document itself
  std::string actionName;  // its "action" text, when that is a string
  int line = 0;            // where the JSON text breaks, for a syntax error
  int column = 0;
};

// A finding about the index-th action (1-based) of "workflow", named actionName.
Finding ActionFinding(Severity severity, const std::string& message, int index, const std::string& actionName);

std::string FormatFinding(const std::string& path, const Finding& finding);

bool HasErrors(const std::vector<Finding>& findings);
