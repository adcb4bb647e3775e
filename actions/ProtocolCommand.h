#pragma once

#include <string>

namespace GenericStub {

// The command line that starts a URL protocol's handler: its registered
// command template with every "%1" replaced by url. Other "%" sequences stay,
// and so does a "%1" that url itself holds (the template is read once, left
// to right).
std::wstring FillProtocolCommand(const std::wstring& commandTemplate, const std::wstring& url);

// True when url can stand for "%1" without adding arguments of its own: it
// holds no double quote, no blank and no control character.
bool IsPlainProtocolUrl(const std::wstring& url);

// The program part of a command line as the platform splits it when no
// program is named apart: between the quotes when it begins with a double
// quote, otherwise up to the first blank or tab.
std::wstring ProgramOfCommandLine(const std::wstring& commandLine);

// "C:\..." or "\\server\...": a path that no search folder completes.
bool IsFullyQualifiedPath(const std::wstring& path);

// A file name without any folder or drive part ("handler.exe").
bool IsBareFileName(const std::wstring& name);

}  // namespace GenericStub
