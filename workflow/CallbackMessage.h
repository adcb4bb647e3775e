#pragma once
// The texts of the callback messages that actions and the downloader send to a
// CallbackHandler.

#include <string>

namespace GenericStub {

// "class GenericStub::<className>": how the program names its classes in logs and messages.
std::wstring PrintableTypeName(const std::wstring& className);

// {"className":"<printableTypeName>","content":<content>}, both inserted unchanged.
std::wstring MakeCallbackMessage(const std::wstring& printableTypeName, const std::wstring& content);

}  // namespace GenericStub
