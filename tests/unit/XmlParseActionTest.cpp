#include "actions/XmlParseAction.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>

#include "LogCapture.h"
#include "TempFolder.h"

namespace GenericStub {
namespace {

struct Description {
  const char* name;
  const char* xml;  // null: no file
  const wchar_t* version;
  const wchar_t* windowsUrl;
  const wchar_t* linuxUrl;
  const wchar_t* macUrl;
};

const Description kDescriptions[] = {
    {"windows and mac entries", R"(<?xml version="1.0"?>
<installerInformation>
  <version>5.1.2</version>
  <downloadLocationList><downloadLocation><url>https://dl.example.test/pkg/</url></downloadLocation></downloadLocationList>
  <platformFileList>
    <file><platform>mac</platform><filename>b.dmg</filename></file>
    <file><filename>a.exe</filename><platform>windows</platform></file>
  </platformFileList>
</installerInformation>)",
     L"5.1.2", L"https://dl.example.test/pkg/a.exe", L"", L"https://dl.example.test/pkg/b.dmg"},
    {"first windows entry with a file name wins", R"(<installerInformation>
  <downloadLocationList><downloadLocation><url>u/</url></downloadLocation></downloadLocationList>
  <platformFileList>
    <one><platform>windows</platform><filename/></one>
    <two><platform>windows</platform><filename>first&amp;.exe</filename></two>
    <three><platform>windows</platform><filename>second.exe</filename></three>
    <four><platform>linux</platform><filename>c.run</filename></four>
  </platformFileList>
</installerInformation>)",
     L"", L"u/first&.exe", L"u/c.run", L""},
    {"platform names are case-sensitive", R"(<installerInformation><version>1</version>
  <downloadLocationList><downloadLocation><url>u/</url></downloadLocation></downloadLocationList>
  <platformFileList><f><platform>Windows</platform><filename>a.exe</filename></f></platformFileList>
</installerInformation>)",
     L"1", L"", L"", L""},
    {"no url", R"(<installerInformation><version>2.0</version>
  <downloadLocationList><downloadLocation/></downloadLocationList>
  <platformFileList><f><platform>windows</platform><filename>a.exe</filename></f></platformFileList>
</installerInformation>)",
     L"2.0", L"", L"", L""},
    {"another root", R"(<installer><installerInformation><version>2.0</version></installerInformation></installer>)",
     L"", L"", L"", L""},
    {"no file", nullptr, L"", L"", L"", L""},
    {"not XML", "version=2.0\n<installerInformation><version>2.0</version>", L"", L"", L"", L""},
    {"XML that breaks off after a whole description", R"(<installerInformation><version>2.0</version>
  <downloadLocationList><downloadLocation><url>u/</url></downloadLocation></downloadLocationList>
  <platformFileList><f><platform>windows</platform><filename>a.exe</filename></f></platformFileList>
</installerInformation><trailing)",
     L"", L"", L"", L""},
};

class XmlParseActionTest : public ::testing::TestWithParam<Description> {};

TEST_P(XmlParseActionTest, PublishesTheVersionAndOneInstallerUrlPerPlatform) {
  const Description& d = GetParam();
  TempFolder folder;
  const std::wstring path = folder.path() + L"\\installer.xml";
  if (d.xml != nullptr) std::ofstream(path.c_str(), std::ios::binary) << d.xml;

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

  EXPECT_EQ(store.lookup(L"version"), d.version);
  EXPECT_EQ(store.lookup(L"windowsInstallerUrl"), d.windowsUrl);
  EXPECT_EQ(store.lookup(L"linuxInstallerUrl"), d.linuxUrl);
  EXPECT_EQ(store.lookup(L"macInstallerUrl"), d.macUrl);
  EXPECT_EQ(log.text(), "");
}

INSTANTIATE_TEST_SUITE_P(Documents, XmlParseActionTest, ::testing::ValuesIn(kDescriptions),
                         [](const auto& test) {
                           std::string name;
                           for (const char* c = test.param.name; *c != '\0'; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace GenericStub
