#pragma once
// Text rules of the installer's command line, as CommandLineToArgvW and the C
// runtime split it (values are quoted with QuoteArgument, HardeningCommands.h).
// No windows.h.

#include <string>

namespace GenericStub {

// commandLine without each "/" + name that stands as a switch of its own:
// outside quotes, at the start or after a blank or tab, and followed by the
// end, a blank, a tab, a quote, ":" or "=". Only "/" + name goes; the blank
// before it and any value after it stay. "/langpack" and a quoted
// "http://host/lang" are not the switch "/lang".
std::wstring RemoveSwitch(const std::wstring& commandLine, const std::wstring& name);

}  // namespace GenericStub
