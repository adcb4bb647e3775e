#include "actions/GetExecutableName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "LogCapture.h"
#include "TempFolder.h"
#include "base/SplitString.h"

namespace GenericStub {
namespace {

class GetExecutableNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.path() + L"\\";
    for (const wchar_t* name : {L"b.exe", L"c.exe"}) std::ofstream(std::filesystem::path(folder_ + name)) << "x";
  }
  TempFolder temp_;
  std::wstring folder_;
};

TEST_F(GetExecutableNameTest, TheFirstExistingCandidateOfTheListIsChosen) {
  LogCapture log;
  // Doubled, leading and trailing "#" give no candidates of their own.
  EXPECT_EQ(GetExecutableName(folder_, Base::SplitString(L"#a.exe##c.exe#b.exe#", L"#")), L"c.exe");
  std::string folder(folder_.begin(), folder_.end());
  EXPECT_EQ(log.text(), "INFO:: GetExecutableName::Check if [" + folder + "a.exe] exist?\n"
                        "INFO:: GetExecutableName::Check if [" + folder + "c.exe] exist?\n"
                        "INFO:: GetExecutableName::[" + folder + "c.exe] Found!\n"
                        "INFO:: GetExecutableName::Selected binary name is [c.exe].\n");
}

TEST_F(GetExecutableNameTest, NoExistingCandidateGivesSetupExe) {
  EXPECT_EQ(GetExecutableName(folder_, {L"a.exe", L"d.exe"}), L"Setup.exe");
  EXPECT_EQ(GetExecutableName(folder_, {}), L"Setup.exe");
}

}  // namespace
}  // namespace GenericStub
