#include "catalog/ProductLocales.h"

namespace Catalog {

namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EqualIgnoringAsciiCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != L'\0'; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return i == a.size() && b[i] == L'\0';
}

}  // namespace

bool IsProductLocale(const std::wstring& name) {
  for (const ProductLocale& locale : kProductLocales) {
    if (EqualIgnoringAsciiCase(name, locale.name)) return true;
  }
  return false;
}

}  // namespace Catalog
