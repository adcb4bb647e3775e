#include "workflow/Workflow.h"

namespace GenericStub {

std::shared_ptr<ActionBase> Workflow::prototype(const std::wstring& className) const {
  const auto found = registry_.find(className);
  return found == registry_.end() ? nullptr : found->second;
}

}  // namespace GenericStub
