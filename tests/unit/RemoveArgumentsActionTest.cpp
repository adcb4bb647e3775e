#include "actions/RemoveArgumentsAction.h"

#include <gtest/gtest.h>

#include "ArgumentActionFixture.h"
#include "TempFolder.h"

namespace GenericStub {
namespace {

using RemoveArgumentsTest = ArgumentActionTest<RemoveArgumentsAction>;

TEST_F(RemoveArgumentsTest, EveryOccurrenceOfTheSwitchGoesAndItsValuesStay) {
  store.set(L"arguments", L"/S /lang \"en\" /lang \"de\" /langpack \"x\" /q");
  run(LR"(["lang", 7, "", "q"])");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S  \"en\"  \"de\" /langpack \"x\" ");
  EXPECT_EQ(log.text(),
            "ERROR:: additionalArguments has invalid arguments."
            "ERROR:: additionalArguments has an invalid argument.");

  TempFolder folder;
  run(LR"(["S"])", L"=arguments", folder.path() + L"\\", L"missing.exe");
  EXPECT_EQ(store.lookup(L"arguments"), L"/S  \"en\"  \"de\" /langpack \"x\" ");
}

}  // namespace
}  // namespace GenericStub
