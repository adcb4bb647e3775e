// The metadata document: its values and actions, each action's run condition,
// field references and output mapping. The failures it may raise are the
// workflow's error codes and JsonCpp's logic error, which the worker's top answers.
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "FuzzSupport.h"
#include "base/AnsiText.h"
#include "workflow/MetadataDocument.h"

using namespace GenericStub;

namespace {

constexpr wchar_t kDownload[] = L"PackageDownloadAction";
constexpr wchar_t kArguments[] = L"AddArgumentsAction";

template <const wchar_t* kName>
class ProbeAction final : public Action<ProbeAction<kName>> {
 public:
  static constexpr const wchar_t* kClassName = kName;
  void run(ValueStore&, CallbackHandler*) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Workflow workflow;
  workflow.registerAction<ProbeAction<kDownload>>();
  workflow.registerAction<ProbeAction<kArguments>>();
  try {
    const ValueMap values = ParseMetadata(Base::AnsiToWide(Bytes(data, size)), workflow);
    FUZZ_CHECK(values.count(L"productLang") == 1 && values.count(L"requestType") == 1);
    ValueStore store;
    store.replaceAll(values);
    for (const auto& action : workflow.actions()) {
      if (!action->checkProvided(store)) continue;
      for (const auto& field : action->inFields()) action->getValue(store, field.first, L"fallback");
      for (const auto& field : action->outFields()) action->publishOutput(store, field.first, field.second);
    }
  } catch (const Json::LogicError&) {
  } catch (const std::logic_error& failure) {
    if (typeid(failure) != typeid(std::logic_error)) throw;  // not a workflow error
    const std::string code = failure.what();
    FUZZ_CHECK(code == "3" || code == "4" || code == "10" || code == "13");
  }
  return 0;
}
