#pragma once
// The worker thread of a run.

#include <windows.h>

#include <memory>

#include "startup/RunState.h"

namespace Startup {

// Starts the detached worker on ThreadProc with its own reference to run.
// False when the thread cannot be started.
bool StartWorker(const std::shared_ptr<RunState>& run);

// Body of the worker thread; parameter is a heap-allocated
// std::shared_ptr<RunState> that the thread takes over. RunMainLogic with the
// failures answered in the window (Ui::RunAndAnswerFailures).
DWORD WINAPI ThreadProc(void* parameter);

// The run of the document: the "Debug" box under -debug, then either the
// document logged (-showmetadata) or parsed and its actions run with the
// window as the callback handler; the window closes at the end. Failures
// leave it as exceptions.
void RunMainLogic(RunState& run);

}  // namespace Startup
