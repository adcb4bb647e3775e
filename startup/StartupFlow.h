#pragma once
// The run of the stub, assembled here and nowhere else: the registered action
// classes, the trusted document, the main window and the worker that runs the
// document.

#include <windows.h>

#include <memory>
#include <string>

#include "startup/RunState.h"
#include "workflow/Workflow.h"

namespace Startup {

// The whole run for the command line a windowed program receives: banner,
// supported classes, switches, then RunApplication.
// Returns the exit code. The worker may still run when it returns: the caller
// ends the process at once (ExitProcess), which stops the worker before
// anything it uses is destroyed.
int RunStub(HINSTANCE instance, const wchar_t* commandLine, int showState);

// Makes the folder of the program file the current directory, so that the
// relative file names of a run (downloads, archives) land next to the stub.
void EnterProgramFolder();

// One log line per action class that a document can name, in name order.
void LogSupportedActions(const GenericStub::Workflow& workflow);

// Checks the program file's own signature, which covers the embedded block,
// and then reads and decrypts the block. False when the signature is not valid
// (kSignatureInvalid is logged); on true, metadata holds the document, which is
// empty when the block is missing or cannot be decrypted.
bool RetrieveMetadata(std::wstring& metadata);

// The run after the banner: the signature checked and the document read on
// another thread while this one starts the graphics library and creates the
// main window hidden; then, once the document is trusted, the window shown
// with the worker started on it, and the window's message loop. Returns the process
// exit code: -1 when the signature is not valid (kSignatureInvalid) or the document is
// empty (kMetadataEmpty), with no window; 0 otherwise, including when the window
// cannot be created.
int RunApplication(HINSTANCE instance, int showState, const std::shared_ptr<RunState>& run);

}  // namespace Startup
