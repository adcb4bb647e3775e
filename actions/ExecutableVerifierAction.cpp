#include "actions/ExecutableVerifierAction.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "actions/VerifiedFiles.h"
#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/SignatureCheck.h"
#include "blockformat/CertificateTable.h"
#include "catalog/FieldNames.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {
using Base::LogInfo;

namespace {

constexpr uint64_t kLargestTable = 16u << 20;  // far more than any signature with its chain needs

// Whether the open file has a certificate table that holds more than the
// signature, or does not end the file: Windows does not look at bytes after the
// signature unless a machine asks it to, and the digest does not cover them. A
// file without a table is the trust check's to refuse.
bool HidesBytesInCertificateTable(HANDLE file) {
  const std::optional<BlockFormat::CertificateTableSpan> table = CertificateTableOf(file);
  if (!table || table->size == 0) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size) || table->size > kLargestTable ||
      table->offset + table->size != static_cast<uint64_t>(size.QuadPart)) {
    return true;
  }
  const std::vector<uint8_t> bytes = ReadFileBytes(file, table->offset, static_cast<DWORD>(table->size));
  return bytes.size() != table->size ||
         BlockFormat::ClassifyCertificateTable(bytes.data(), bytes.size()) !=
             BlockFormat::CertificateTableContent::kSignatureOnly;
}

}  // namespace

bool FindCertificateBySubject(PCCERT_CHAIN_CONTEXT chain, const std::wstring& subject) {
  bool found = false;
  Base::CertStore store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr));
  if (store && chain != nullptr && chain->cChain > 0) {
    const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
    for (DWORD i = 0; i < simple->cElement; ++i) {
      CertAddCertificateContextToStore(store.get(), simple->rgpElement[i]->pCertContext, CERT_STORE_ADD_ALWAYS,
                                       nullptr);
    }
    found = Base::CertContext(CertFindCertificateInStore(store.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                         CERT_FIND_SUBJECT_STR_W, subject.c_str(), nullptr))
                .valid();
  }
  if (found) {
    LogInfo(L"A certificate with a subject name [%s] has been found!\n", subject.c_str());
  } else {
    LogInfo(L"A certificate with a subject name [%s] can not be found!\n", subject.c_str());
  }
  return found;
}

void ExecutableVerifierAction::run(ValueStore& store, CallbackHandler*) {
  const std::wstring name = getMandatoryValue(store, Catalog::kName);
  const std::wstring file = getMandatoryValue(store, Catalog::kDownloadedFilename);

  Base::UniqueHandle handle = OpenFileForUse(file);
  if (!handle) {
    LogInfo(L"ExecutableVerifierAction::[%s] can not be opened, error [%lu].\n", file.c_str(), GetLastError());
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kExecutableRejected);
  }
  // The table first: a file refused for what it hides is not reported as the publisher's.
  if (HidesBytesInCertificateTable(handle.get())) {
    LogInfo(L"ExecutableVerifierAction::The certificate table of [%s] holds more than its signature.\n",
            file.c_str());
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kExecutableRejected);
  }
  const auto publisherSigned = [&name](PCCERT_CHAIN_CONTEXT chain) { return FindCertificateBySubject(chain, name); };
  if (Base::VerifyFileSignature(handle.get(), file.c_str(), publisherSigned) != 0) {
    LogAndRaiseWorkflowError(Catalog::ErrorCode::kExecutableRejected);
  }
  KeepVerifiedFile(file, std::move(handle));
  publishOutput(store, Catalog::kIsSigned, L"1");
}

}  // namespace GenericStub
