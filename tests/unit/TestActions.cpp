#include "TestActions.h"

namespace GenericStub {

std::vector<std::wstring>& ActionJournal() {
  static std::vector<std::wstring> journal;
  return journal;
}

void RecordingAction::run(ValueStore& store, CallbackHandler*) {
  ActionJournal().push_back(getValue(store, L"label", L"?") + L" ran");
  publishOutput(store, L"result", getValue(store, L"result", L""));
}

void MandatoryUrlAction::run(ValueStore& store, CallbackHandler*) {
  ActionJournal().push_back(getMandatoryValue(store, L"url") + L" fetched");
}

}  // namespace GenericStub
