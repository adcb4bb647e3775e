#pragma once
// What the argument actions share: reading the command line to edit, the
// switches that describe the edit and the installer's version, and storing
// the edited command line.

#include <json/json.h>

#include <optional>
#include <string>

#include "workflow/ActionBase.h"
#include "workflow/ValueStore.h"

namespace GenericStub {

struct ArgumentEdit {
  std::wstring arguments;         // the command line before the edit
  Json::Value switches;           // the "additionalArguments" array
  std::wstring installerVersion;  // never empty
};

// Reads the action's "arguments", "additionalArguments", "executableName"
// (mandatory: kMandatoryFieldEmpty when empty) and "launchPath". Nothing when there is
// nothing to edit: no switches, switches that are not a JSON array, or an
// installer without a version (each but the first logs why).
std::optional<ArgumentEdit> ReadArgumentEdit(const ActionBase& action, const ValueStore& store);

// Sets the store's "arguments" to edited when it differs from the command line
// read; otherwise the entry stays as it was, absent included.
void StoreEditedArguments(ValueStore& store, const ArgumentEdit& edit, const std::wstring& edited);

}  // namespace GenericStub
