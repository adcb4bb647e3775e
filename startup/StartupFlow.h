#pragma once
// The run of the stub, assembled here and nowhere else: the registered action
// classes, the trusted document, and (later) the window and the worker.

#include <string>

#include "startup/StartupSwitches.h"
#include "workflow/Workflow.h"

namespace Startup {

// The whole run for the command line a windowed program receives: banner,
// supported classes, switches, then RunApplication. Returns the exit code.
int RunStub(const wchar_t* commandLine);

// Makes the folder of the program file the current directory, so that the
// relative file names of a run (downloads, archives) land next to the stub.
void EnterProgramFolder();

// One log line per action class that a document can name, in name order.
void LogSupportedActions(const GenericStub::Workflow& workflow);

// Checks the program file's own signature, which covers the embedded block,
// and then reads and decrypts the block. False when the signature is not valid
// (error code 1 is logged); on true, metadata holds the document, which is
// empty when the block is missing or cannot be decrypted.
bool RetrieveMetadata(std::wstring& metadata);

// Full path of the running program file.
std::wstring ProgramFilePath();

// The run after the banner: the trusted document, then its run. Returns the
// process exit code: -1 when the signature is not valid (code 1) or the
// document is empty (code 2), 0 otherwise.
int RunApplication(const StartupSwitches& switches, GenericStub::Workflow& workflow);

}  // namespace Startup
