#pragma once

#include <string>

namespace GenericStub {

// The command line that starts a URL protocol's handler: its registered
// command template with every "%1" replaced by url. Other "%" sequences stay,
// and so does a "%1" that url itself holds (the template is read once, left
// to right).
std::wstring FillProtocolCommand(const std::wstring& commandTemplate, const std::wstring& url);

}  // namespace GenericStub
