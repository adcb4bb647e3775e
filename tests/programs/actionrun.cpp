// Runs the workflow of a metadata document (JSON, without encryption) with the
// product's action classes, as the stub's worker does, and prints values of
// the store afterwards. Like the stub, it first makes its own folder the
// current folder.
//
//   actionrun [--log-folder FOLDER] [--callbacks] [--count-waits] [--receive-timeout MS] DOCUMENT [NAME...]
//
// --log-folder makes FOLDER the temporary folder, and so the place of the
// execution log. --callbacks hands the actions a handler that prints each
// callback message as "callback MESSAGE"; without it they get none.
// --count-waits prints "wait MILLISECONDS" for each wait of the download
// client instead of waiting. --receive-timeout ends a download attempt after MS
// milliseconds without data instead of the product's own time. Prints
// "NAME=VALUE" for each NAME after the run. Exit code 0 when the run ended
// normally, 1 when it raised an error (printed as "error <message>"), 2 on bad
// arguments or an unreadable document.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/RegisterActions.h"
#include "base/AnsiText.h"
#include "base/ProgramFile.h"
#include "download/Clock.h"
#include "workflow/MetadataDocument.h"
#include "workflow/WorkflowRunner.h"

using namespace GenericStub;

namespace {

class PrintingHandler final : public CallbackHandler {
 public:
  void callback(const std::wstring& message) override {
    std::printf("callback %s\n", Base::WideToAnsi(message).c_str());
  }
};

// The system's time, with the waits counted instead of waited when countWaits
// and a receive timeout of the test's own when it sets one.
class TestClock final : public Clock {
 public:
  bool countWaits = false;
  std::uint32_t receiveTimeout = SystemClock().receiveTimeoutMilliseconds();

  std::int64_t nowSeconds() override { return SystemClock().nowSeconds(); }
  void sleep(std::uint32_t milliseconds) override {
    if (countWaits) std::printf("wait %u\n", static_cast<unsigned>(milliseconds));
    else SystemClock().sleep(milliseconds);
  }
  std::uint32_t receiveTimeoutMilliseconds() override { return receiveTimeout; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  PrintingHandler printingHandler;
  CallbackHandler* handler = nullptr;
  // The system's clock until an option changes it.
  TestClock testClock;
  InstallClock(&testClock);
  for (; !args.empty() && args[0].rfind(L"--", 0) == 0; args.erase(args.begin())) {
    if (args[0] == L"--callbacks") {
      handler = &printingHandler;
    } else if (args[0] == L"--count-waits") {
      testClock.countWaits = true;
    } else if (args[0] == L"--receive-timeout" && args.size() > 1) {
      args.erase(args.begin());
      testClock.receiveTimeout = static_cast<std::uint32_t>(std::wcstoul(args[0].c_str(), nullptr, 10));
    } else if (args[0] == L"--log-folder" && args.size() > 1) {
      args.erase(args.begin());
      SetEnvironmentVariableW(L"TEMP", args[0].c_str());
      SetEnvironmentVariableW(L"TMP", args[0].c_str());
    } else {
      args.clear();  // an unknown option: the usage below
      break;
    }
  }
  std::ifstream file(args.empty() ? L"" : args[0].c_str(), std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "usage: actionrun [OPTION...] DOCUMENT [NAME...] (options: see actionrun.cpp)\n");
    return 2;
  }
  SetCurrentDirectoryW(Base::ProgramFolder().c_str());
  const std::string document((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  Workflow workflow;
  RegisterActions(workflow);
  ValueStore store;
  int code = 0;
  try {
    store.replaceAll(ParseMetadata(Base::AnsiToWide(document), workflow));
    RunActions(workflow.actions(), store, handler);
  } catch (const std::exception& error) {
    std::printf("error %s\n", error.what());
    code = 1;
  }
  for (auto name = args.begin() + 1; name != args.end(); ++name) {
    std::printf("%s=%s\n", Base::WideToAnsi(*name).c_str(), Base::WideToAnsi(store.lookup(*name)).c_str());
  }
  return code;
}
