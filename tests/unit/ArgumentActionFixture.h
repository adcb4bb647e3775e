#pragma once
// Runs an argument action on this test program, which stands in for the installer.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "LogCapture.h"
#include "workflow/ValueStore.h"

namespace GenericStub {

// This test program stands in for the installer: its file version is 2.0.10.0 (InstallerVersion.rc).
inline std::wstring OwnPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

template <class ArgumentAction>
class ArgumentActionTest : public ::testing::Test {
 protected:
  // Runs the action on the installer folder + name with the given switches.
  void run(const std::wstring& switches, const std::wstring& arguments = L"=arguments",
           const std::wstring& folder = OwnPath().substr(0, OwnPath().rfind(L'\\') + 1),
           const std::wstring& name = OwnPath().substr(OwnPath().rfind(L'\\') + 1)) {
    ArgumentAction action;
    action.setField(kInput, L"arguments", arguments);
    action.setField(kInput, L"additionalArguments", switches);
    action.setField(kInput, L"executableName", name);
    action.setField(kInput, L"launchPath", folder);
    action.run(store, nullptr);
  }

  ValueStore store;
  LogCapture log;
};

}  // namespace GenericStub
