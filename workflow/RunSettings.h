#pragma once
// What start-up and the window read from the run's values.

#include <string>

#include "workflow/ValueStore.h"

namespace GenericStub {

// "productLang": the locale name that chooses the interface language.
std::wstring GetProductLang(const ValueStore& store);
// "directUrl": the package address that the error window offers for the browser.
std::wstring GetDirectUrl(const ValueStore& store);
// The window title for "requestType".
std::wstring GetWindowTitle(const ValueStore& store);

// "Orvakel Quickfetch" for the service request path (in any letter case), else "Orvakel Quickset".
std::wstring WindowTitleForRequestType(const std::wstring& requestType);

}  // namespace GenericStub
