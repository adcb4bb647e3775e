#pragma once

#include "catalog/ActionClasses.h"
#include "workflow/ActionBase.h"

namespace GenericStub {

// Starts "executableName" (a name inside the folder "launchPath" when given,
// else an absolute path or a name in the program's own folder: LaunchFile) with
// the shell's "open" verb and the parameters "arguments" (plus " -quiet" when
// "quiet" is non-zero). With "shallWait" non-zero it waits for the program and
// publishes its exit code as "returnCode" ("%d": an NTSTATUS such as
// 0xC0000005 gives a negative number). A program that cannot be started, or a
// name that leaves its folder, is no error; then nothing is published. Fails only on a missing "executableName" (11).
class RunExecutableAction : public Action<RunExecutableAction> {
 public:
  static constexpr const wchar_t* kClassName = Catalog::kRunExecutableAction;
  void run(ValueStore& store, CallbackHandler* handler) override;
};

}  // namespace GenericStub
