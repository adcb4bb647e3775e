#pragma once
// The program file's own signature checked, and then its embedded block read
// and decrypted, on a thread of its own, so that the UI thread can prepare the
// window (hidden) meanwhile. The block is read only once the signature holds,
// through the same open handle as the check.

#include <windows.h>

#include <string>

#include "base/Handles.h"

namespace Startup {

class MetadataRetrieval {
 public:
  // Logs the path of the program file, opens it and starts the check; returns
  // once the thread runs. When no thread can be started, the check runs here,
  // on the calling thread.
  MetadataRetrieval();
  // Waits for the check if finish has not.
  ~MetadataRetrieval();
  MetadataRetrieval(const MetadataRetrieval&) = delete;
  MetadataRetrieval& operator=(const MetadataRetrieval&) = delete;

  // Waits for the check. False when the signature is not valid
  // (kSignatureInvalid is logged); on true, metadata holds the document, which
  // is empty when the block is missing or cannot be decrypted.
  bool finish(std::wstring& metadata);

 private:
  static DWORD WINAPI CheckThread(void* parameter);
  void check();
  void wait();

  std::wstring program_;
  Base::UniqueHandle file_;
  Base::UniqueHandle running_;  // set by the thread as it begins
  Base::UniqueHandle thread_;
  // Written by the check, read after it has ended.
  LONG verdict_ = 2;
  std::wstring metadata_;
};

}  // namespace Startup
