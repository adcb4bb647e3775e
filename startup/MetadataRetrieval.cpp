#include "startup/MetadataRetrieval.h"

#include <utility>

#include "base/ExecutionLog.h"
#include "base/ProgramFile.h"
#include "base/SignatureCheck.h"
#include "startup/MetadataBlock.h"
#include "startup/StartupPhases.h"
#include "workflow/WorkflowError.h"

namespace Startup {

MetadataRetrieval::MetadataRetrieval() : program_(Base::ProgramFilePath()) {
  Base::LogInfo(L"Path of the stub executable = [%s]\n", program_.c_str());
  // One handle for the check and the read: the bytes read are the bytes checked.
  file_.reset(OpenProgramFile(program_));
  if (!file_) {
    Base::LogInfo(L"The file \"%s\" can not be opened, GetLastError() return value [%lu].\n", program_.c_str(),
                  GetLastError());
  }
  running_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (running_) thread_.reset(CreateThread(nullptr, 0, &CheckThread, this, 0, nullptr));
  if (!thread_) {
    check();
    return;
  }
  // A new thread first runs the start-up code of every loaded DLL, under the
  // loader's lock: begun while this thread loads the window's DLLs, it would
  // wait for them.
  WaitForSingleObject(running_.get(), INFINITE);
}

MetadataRetrieval::~MetadataRetrieval() { wait(); }

DWORD WINAPI MetadataRetrieval::CheckThread(void* parameter) {
  auto* self = static_cast<MetadataRetrieval*>(parameter);
  SetEvent(self->running_.get());
  self->check();
  return 0;
}

void MetadataRetrieval::check() {
  MarkPhaseBegin(StartupPhase::kSignature);
  verdict_ = Base::VerifyFileSignature(file_.get(), program_.c_str());
  MarkPhaseEnd(StartupPhase::kSignature);
  if (verdict_ != 0) return;  // nothing of an untrusted block is read
  MarkPhaseBegin(StartupPhase::kBlock);
  metadata_ = DecryptMetadata(ReadEmbeddedBlockFrom(file_.get()));
  MarkPhaseEnd(StartupPhase::kBlock);
}

void MetadataRetrieval::wait() {
  if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

bool MetadataRetrieval::finish(std::wstring& metadata) {
  wait();
  if (verdict_ != 0) {
    GenericStub::LogErrorCode(Catalog::ErrorCode::kSignatureInvalid);
    return false;
  }
  metadata = std::move(metadata_);
  return true;
}

}  // namespace Startup
