// Runs one action of the product from a job file, the way a workflow runs it:
//   runaction.exe JOB.json RESULT.json
// JOB: {"logFolder": "<folder for the execution log>", "store": {name: value},
//       "action": "<class name>", "in": {...}, "out": {...}, "names": [name, ...]}  (UTF-8)
// RESULT: {"store": {name: value for each of "names" that is set}, "error": "<code>" or null}
// Like the stub, it first makes its own folder the current folder.

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <json/json.h>

#include "actions/RegisterActions.h"
#include "workflow/Workflow.h"
#include "workflow/WorkflowRunner.h"

using namespace GenericStub;

namespace {

std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

void EnterOwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  folder.erase(folder.find_last_of(L'\\') + 1);
  SetCurrentDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  Json::Value job;
  if (!Json::Reader().parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), job)) {
    return 3;
  }
  const std::wstring logFolder = Wide(job["logFolder"].asString());
  SetEnvironmentVariableW(L"TEMP", logFolder.c_str());
  SetEnvironmentVariableW(L"TMP", logFolder.c_str());
  EnterOwnFolder();

  ValueStore store;
  for (const std::string& name : job["store"].getMemberNames()) {
    store.set(Wide(name), Wide(job["store"][name].asString()));
  }
  Workflow workflow;
  RegisterActions(workflow);
  const auto prototype = workflow.prototype(Wide(job["action"].asString()));
  if (!prototype) return 4;
  auto action = prototype->createInstance();
  for (const char* direction : {"in", "out"}) {
    for (const std::string& name : job[direction].getMemberNames()) {
      action->setField(direction[0] == 'i' ? kInput : kOutput, Wide(name), Wide(job[direction][name].asString()));
    }
  }

  Json::Value result;
  result["error"] = Json::nullValue;
  try {
    RunActions({action}, store, nullptr);
  } catch (const std::logic_error& error) {
    result["error"] = error.what();
  }
  result["store"] = Json::objectValue;
  for (const Json::Value& name : job["names"]) {
    const std::wstring value = store.lookup(Wide(name.asString()));
    if (!value.empty()) result["store"][name.asString()] = Utf8(value);
  }
  std::ofstream(argv[2], std::ios::binary) << Json::FastWriter().write(result);
  return 0;
}
