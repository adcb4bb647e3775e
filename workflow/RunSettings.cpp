#include "workflow/RunSettings.h"

#include <algorithm>

namespace GenericStub {
namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

}  // namespace

std::wstring GetProductLang(const ValueStore& store) { return store.lookup(L"productLang"); }

std::wstring GetDirectUrl(const ValueStore& store) { return store.lookup(L"directUrl"); }

std::wstring GetWindowTitle(const ValueStore& store) {
  return WindowTitleForRequestType(store.lookup(L"requestType"));
}

std::wstring WindowTitleForRequestType(const std::wstring& requestType) {
  return EqualsIgnoringAsciiCase(requestType, L"/TARNWICKSERVICE/ZRQ/FORM") ? L"Orvakel Quickfetch"
                                                                           : L"Orvakel Quickset";
}

}  // namespace GenericStub
