#pragma once
// Receiver of the callback messages that actions and the downloader send while
// a workflow runs (the main window). Called synchronously on the worker thread.

#include <string>

namespace GenericStub {

class CallbackHandler {
 public:
  // message: {"className":"<printable type name>","content":<JSON value>}
  virtual void callback(const std::wstring& message) = 0;

 protected:
  ~CallbackHandler() = default;
};

}  // namespace GenericStub
