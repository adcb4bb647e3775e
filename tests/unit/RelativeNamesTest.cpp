#include <gtest/gtest.h>

#include "actions/RelativeNames.h"

namespace GenericStub {
namespace {

TEST(RelativeNameRefusal, NamesThatLeaveTheFolderOrThatWindowsRewritesAreRefused) {
  for (const wchar_t* name : {L"Setup.exe", L"bin\\tool.exe", L"bin/tool.exe", L"a..b.exe", L"cone.d\\x",
                              L".hidden", L"COM0", L"LPT10.txt"}) {
    EXPECT_EQ(RelativeNameRefusal(name), L"") << name;
  }
  for (const wchar_t* name : {L"", L"..\\x", L"a/../../x", L"\\x", L"/x", L"\\\\server\\s\\x", L"C:\\x", L"C:x",
                              L"a.txt:evil", L"a.txt::$DATA", L"x/.. /y", L"bin.\\x", L"Setup.exe ", L"Setup.exe.",
                              L"nul", L"dir\\CON.txt", L"aux ", L"com1", L"LPT9.log", L"CONIN$", L"a\x01b",
                              L"a?b", L"a|b"}) {
    EXPECT_NE(RelativeNameRefusal(name), L"") << name;
  }
  EXPECT_EQ(PathBelow(L"C:\\P\\", L"bin/sub/x.exe"), L"C:\\P\\bin\\sub\\x.exe");
}

}  // namespace
}  // namespace GenericStub
