#include "workflow/CallbackMessage.h"

namespace GenericStub {

std::wstring PrintableTypeName(const std::wstring& className) {
  return L"class GenericStub::" + className;
}

std::wstring MakeCallbackMessage(const std::wstring& printableTypeName, const std::wstring& content) {
  return L"{\"className\":\"" + printableTypeName + L"\",\"content\":" + content + L"}";
}

}  // namespace GenericStub
