#include "workflow/RunSettings.h"

#include "base/AsciiCase.h"

namespace GenericStub {

std::wstring GetProductLang(const ValueStore& store) { return store.lookup(L"productLang"); }

std::wstring GetDirectUrl(const ValueStore& store) { return store.lookup(L"directUrl"); }

std::wstring GetWindowTitle(const ValueStore& store) {
  return WindowTitleForRequestType(store.lookup(L"requestType"));
}

std::wstring WindowTitleForRequestType(const std::wstring& requestType) {
  return Base::EqualsIgnoringAsciiCase(requestType, L"/TARNWICKSERVICE/ZRQ/FORM") ? L"Orvakel Quickfetch"
                                                                           : L"Orvakel Quickset";
}

}  // namespace GenericStub
