#pragma once
// Action classes that exist only in the tests: they record what the runner
// does with them, so that its order, conditions and failures can be observed.

#include <string>
#include <vector>

#include "workflow/ActionBase.h"

namespace GenericStub {

// What the test actions did, in order: "<label> ran".
std::vector<std::wstring>& ActionJournal();

// Records "<label field> ran" and publishes its "result" field as the output "result".
class RecordingAction : public Action<RecordingAction> {
 public:
  static constexpr const wchar_t* kClassName = L"RecordingAction";
  void run(ValueStore& store, CallbackHandler* handler) override;
};

// Reads its mandatory field "url", so that it fails with code 11 when it has none.
class MandatoryUrlAction : public Action<MandatoryUrlAction> {
 public:
  static constexpr const wchar_t* kClassName = L"MandatoryUrlAction";
  void run(ValueStore& store, CallbackHandler* handler) override;
};

// A callback receiver that keeps every message.
class RecordingHandler : public CallbackHandler {
 public:
  void callback(const std::wstring& message) override { messages.push_back(message); }
  std::vector<std::wstring> messages;
};

}  // namespace GenericStub
