#include "actions/XmlParseAction.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "LogCapture.h"
#include "TempFolder.h"

namespace GenericStub {
namespace {

const std::string kUrl = "<downloadLocationList><downloadLocation><url>https://dl.test/p/</url></downloadLocation>"
                         "</downloadLocationList>";
std::string Entry(const char* platform, const char* file) {
  return std::string("<f><platform>") + platform + "</platform><filename>" + file + "</filename></f>";
}
std::string Description(const std::string& inside) {
  return "<?xml version=\"1.0\"?>\n<installerInformation>" + inside + "</installerInformation>";
}

struct Case {
  const char* name;
  std::string xml;  // empty: no file
  std::wstring version, windowsUrl, linuxUrl, macUrl;
} const kCases[] = {
    {"WindowsAndMac", Description("<version>5.1.2</version>" + kUrl + "<platformFileList>" + Entry("mac", "b.dmg") +
                                  "<any><filename>a.exe</filename><platform>windows</platform></any></platformFileList>"),
     L"5.1.2", L"https://dl.test/p/a.exe", L"", L"https://dl.test/p/b.dmg"},
    {"FirstWindowsEntryWithAFileWins",
     Description(kUrl + "<platformFileList>" + Entry("windows", "") + Entry("windows", "first&amp;.exe") +
                 Entry("windows", "second.exe") + Entry("linux", "c.run") + "</platformFileList>"),
     L"", L"https://dl.test/p/first&.exe", L"https://dl.test/p/c.run", L""},
    {"CapitalW", Description("<version>1</version>" + kUrl + "<platformFileList>" + Entry("Windows", "a.exe") +
                             "</platformFileList>"),
     L"1", L"", L"", L""},
    {"NoUrl", Description("<version>2.0</version><downloadLocationList><downloadLocation/></downloadLocationList>"
                          "<platformFileList>" + Entry("windows", "a.exe") + "</platformFileList>"),
     L"2.0", L"", L"", L""},
    {"AnotherRoot", "<installer><installerInformation><version>2.0</version></installerInformation></installer>",
     L"", L"", L"", L""},
    {"NoFile", "", L"", L"", L"", L""},
    // What parsed before an error is not used.
    {"BrokenAfterAWholeDescription",
     Description("<version>2.0</version>" + kUrl + "<platformFileList>" + Entry("windows", "a.exe") +
                 "</platformFileList>") + "<trailing",
     L"", L"", L"", L""},
};

class XmlParseActionTest : public ::testing::TestWithParam<Case> {};

TEST_P(XmlParseActionTest, PublishesTheVersionAndOneInstallerUrlPerPlatform) {
  const Case& c = GetParam();
  TempFolder folder;
  const std::wstring path = folder.path() + L"\\installer.xml";
  if (!c.xml.empty()) std::ofstream(path.c_str(), std::ios::binary) << c.xml;

  XmlParseAction action;
  ValueStore store;
  store.set(L"descriptionFile", path);
  action.setField(kInput, L"xmlFileName", L"=descriptionFile");
  for (const wchar_t* output : {L"version", L"windowsInstallerUrl", L"linuxInstallerUrl", L"macInstallerUrl"}) {
    action.setField(kOutput, output, L"=" + std::wstring(output));
    store.set(output, L"<not published>");
  }
  LogCapture log;
  action.run(store, nullptr);

  EXPECT_EQ(std::make_tuple(store.lookup(L"version"), store.lookup(L"windowsInstallerUrl"),
                            store.lookup(L"linuxInstallerUrl"), store.lookup(L"macInstallerUrl")),
            std::make_tuple(c.version, c.windowsUrl, c.linuxUrl, c.macUrl));
  EXPECT_EQ(log.text(), "");
}

INSTANTIATE_TEST_SUITE_P(Descriptions, XmlParseActionTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace GenericStub
