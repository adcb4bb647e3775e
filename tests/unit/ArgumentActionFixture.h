#pragma once
// Runs an argument action on this test program, which stands in for the installer.

#include <gtest/gtest.h>

#include <string>

#include "LogCapture.h"
#include "base/ProgramFile.h"
#include "workflow/ValueStore.h"

namespace GenericStub {

template <class ArgumentAction>
class ArgumentActionTest : public ::testing::Test {
 protected:
  // Runs the action on the installer folder + name with the given switches. By
  // default this test program stands in for the installer: its file version is
  // 2.0.10.0 (InstallerVersion.rc).
  void run(const std::wstring& switches, const std::wstring& arguments = L"=arguments",
           const std::wstring& folder = Base::ProgramFolder(),
           const std::wstring& name = Base::ProgramFilePath().substr(Base::ProgramFolder().size())) {
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
