// The catalog that stubpack checks documents against is the program's own:
// the classes it registers, and the mandatory inputs each stops on, in order.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "actions/RegisterActions.h"
#include "catalog/ActionClasses.h"

namespace GenericStub {
namespace {

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

// Every class reads its mandatory inputs before it does anything else, so an
// empty "in" stops it on the first, and each one given moves the stop to the next.
TEST(ActionCatalog, ListsExactlyTheRegisteredClassesEachStoppingOnItsMandatoryInputsInOrder) {
  Workflow workflow;
  RegisterActions(workflow);
  std::vector<std::wstring> registered;
  for (const auto& entry : workflow.registry()) registered.push_back(entry.first);
  std::vector<std::wstring> names;
  for (const Catalog::ActionClass& actionClass : Catalog::ActionClasses()) names.push_back(actionClass.name);
  EXPECT_EQ(registered, names);

  for (const Catalog::ActionClass& listed : Catalog::ActionClasses()) {
    const std::shared_ptr<ActionBase> prototype = workflow.prototype(listed.name);
    ASSERT_NE(prototype, nullptr) << Narrow(listed.name);
    const std::shared_ptr<ActionBase> action = prototype->createInstance();
    ValueStore store;
    for (const std::wstring& field : listed.mandatoryInputs) {
      SCOPED_TRACE(Narrow(listed.name) + " " + Narrow(field));
      const LogCapture log;
      std::string code;
      try {
        action->run(store, nullptr);
      } catch (const std::logic_error& error) {
        code = error.what();
      }
      EXPECT_EQ(code, "11");
      EXPECT_EQ(log.text(), "ERROR:: Field [" + Narrow(field) + "] of [class GenericStub::" + Narrow(listed.name) +
                                "] is mandatory.\n");
      action->setField(kInput, field, L"given");
    }
  }
}

}  // namespace
}  // namespace GenericStub
