#include "tools/stubpack/Finding.h"

Finding ActionFinding(Severity severity, const std::string& message, int index, const std::string& actionName) {
  Finding finding;
  finding.severity = severity;
  finding.message = message;
  finding.action = index;
  finding.actionName = actionName;
  return finding;
}

std::string FormatFinding(const std::string& path, const Finding& finding) {
  std::string text = path;
  if (finding.line > 0) text += ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column);
  text += ": ";
  if (finding.action > 0) {
    text += "action " + std::to_string(finding.action);
    if (!finding.actionName.empty()) text += " (" + finding.actionName + ")";
    text += ": ";
  }
  text += finding.severity == Severity::kError ? "error: " : "warning: ";
  return text + finding.message;
}

bool HasErrors(const std::vector<Finding>& findings) {
  for (const Finding& finding : findings) {
    if (finding.severity == Severity::kError) return true;
  }
  return false;
}
