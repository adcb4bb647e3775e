#include "workflow/ValueStore.h"

namespace GenericStub {

std::wstring ValueStore::lookup(const std::wstring& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::wstring() : found->second;
}

std::wstring ValueStore::lookupOr(const std::wstring& name, const std::wstring& fallback) const {
  const auto found = values_.find(name);
  return found == values_.end() || found->second.empty() ? fallback : found->second;
}

void ValueStore::set(const std::wstring& name, const std::wstring& value) { values_[name] = value; }

void ValueStore::replaceAll(const ValueMap& values) { values_ = values; }

}  // namespace GenericStub
