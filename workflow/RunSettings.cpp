#include "workflow/RunSettings.h"

#include "base/AsciiCase.h"
#include "catalog/DocumentKeys.h"

namespace GenericStub {

std::wstring GetProductLang(const ValueStore& store) { return store.lookup(Catalog::kProductLang.wide); }

std::wstring GetDirectUrl(const ValueStore& store) { return store.lookup(Catalog::kDirectUrl.wide); }

std::wstring GetWindowTitle(const ValueStore& store) {
  return WindowTitleForRequestType(store.lookup(Catalog::kRequestType.wide));
}

std::wstring WindowTitleForRequestType(const std::wstring& requestType) {
  return Base::EqualsIgnoringAsciiCase(requestType, L"/TARNWICKSERVICE/ZRQ/FORM") ? L"Orvakel Quickfetch"
                                                                           : L"Orvakel Quickset";
}

}  // namespace GenericStub
