// The third-party libraries built from Debian's sources work in this build.

#include <gtest/gtest.h>

#include <json/json.h>
#include <tinyxml2.h>

#include <rar.hpp>

#include "TempFolder.h"

namespace {

TEST(ThirdPartyLibraries, JsonCppReadsADocumentWithComments) {
  Json::Value root;
  Json::Reader reader;
  ASSERT_TRUE(reader.parse("// comment\n{\"workflow\":[], \"productLang\":\"en-US\"}", root));
  EXPECT_EQ(root["productLang"].asString(), "en-US");
  EXPECT_THROW(root["workflow"].asString(), Json::LogicError);
}

TEST(ThirdPartyLibraries, TinyXml2ReadsAnElementTree) {
  tinyxml2::XMLDocument document;
  ASSERT_EQ(document.Parse("<installer version=\"1.2\"><file>a.exe</file></installer>"), tinyxml2::XML_SUCCESS);
  EXPECT_STREQ(document.RootElement()->Attribute("version"), "1.2");
  EXPECT_STREQ(document.RootElement()->FirstChildElement("file")->GetText(), "a.exe");
}

TEST(ThirdPartyLibraries, UnrarCommandInterfaceReportsAMissingArchive) {
  TempFolder folder;
  const std::wstring archive = folder.path() + L"\\missing.rar";
  const std::wstring destination = folder.path() + L"\\out\\";
  std::vector<std::wstring> args = {L"x", L"-y", L"-inul", archive, destination};

  ErrHandler.Clean();
  CommandData command;
  for (const std::wstring& arg : args) command.PreprocessArg(arg.c_str());
  command.Command[0] = 0;  // the switches-only pass keeps the command for rar.ini
  for (std::wstring& arg : args) command.ParseArg(arg.data());
  command.ParseDone();
  try {
    command.ProcessCommand();
  } catch (RAR_EXIT) {
  }
  EXPECT_EQ(ErrHandler.GetErrorCode(), RARX_NOFILES);  // no archive matched the name
}

}  // namespace
