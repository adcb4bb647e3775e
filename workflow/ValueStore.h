#pragma once
// The named values of a run: the document's top-level strings, then whatever
// actions publish for the actions after them. Used by the worker thread only.

#include <map>
#include <string>

namespace GenericStub {

using ValueMap = std::map<std::wstring, std::wstring>;

class ValueStore {
 public:
  // The value, or an empty text when the name is absent.
  std::wstring lookup(const std::wstring& name) const;
  // The value when present and not empty, otherwise fallback.
  std::wstring lookupOr(const std::wstring& name, const std::wstring& fallback) const;
  void set(const std::wstring& name, const std::wstring& value);
  void replaceAll(const ValueMap& values);

 private:
  ValueMap values_;
};

}  // namespace GenericStub
