#include "actions/ExecutableVerifierAction.h"

#include <windows.h>

#include <wincrypt.h>

#include <vector>

#include "base/ExecutionLog.h"
#include "base/Handles.h"
#include "base/SignatureCheck.h"
#include "catalog/FieldNames.h"
#include "workflow/WorkflowError.h"

namespace GenericStub {
using Base::LogInfo;

namespace {

// The certificate of the signature's first signer (the one the trust check
// verifies), found in the signature's bag by issuer and serial number.
Base::CertContext SignerCertificate(HCRYPTMSG message, HCERTSTORE bag, DWORD encoding) {
  DWORD size = 0;
  if (!CryptMsgGetParam(message, CMSG_SIGNER_CERT_INFO_PARAM, 0, nullptr, &size) || size == 0) return {};
  std::vector<BYTE> buffer(size);
  if (!CryptMsgGetParam(message, CMSG_SIGNER_CERT_INFO_PARAM, 0, buffer.data(), &size)) return {};
  return Base::CertContext(
      CertGetSubjectCertificateFromStore(bag, encoding, reinterpret_cast<CERT_INFO*>(buffer.data())));
}

// A store holding the signer's certificate and the chain built from it to a
// root, the way the trust check builds it (the bag as additional store).
Base::CertStore SignerChainStore(PCCERT_CONTEXT signer, HCERTSTORE bag) {
  Base::CertStore chainStore(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr));
  if (!chainStore) return {};
  CertAddCertificateContextToStore(chainStore.get(), signer, CERT_STORE_ADD_ALWAYS, nullptr);

  CERT_CHAIN_PARA para = {};
  para.cbSize = sizeof para;
  Base::CertChain chain;
  if (CertGetCertificateChain(nullptr, signer, nullptr, bag, &para, 0, nullptr, chain.receive()) &&
      chain.get()->cChain > 0) {
    const CERT_SIMPLE_CHAIN* simple = chain.get()->rgpChain[0];
    for (DWORD i = 1; i < simple->cElement; ++i) {
      CertAddCertificateContextToStore(chainStore.get(), simple->rgpElement[i]->pCertContext,
                                       CERT_STORE_ADD_ALWAYS, nullptr);
    }
  }
  return chainStore;
}

}  // namespace

bool FindCertificateBySubject(const std::wstring& path, const std::wstring& subject) {
  if (path.empty()) return false;

  DWORD encoding = 0;
  Base::CertStore bag;
  Base::CryptMessage message;
  if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                        CERT_QUERY_FORMAT_FLAG_BINARY, 0, &encoding, nullptr, nullptr, bag.receive(),
                        message.receive(), nullptr)) {
    return false;
  }

  bool found = false;
  const Base::CertContext signer = SignerCertificate(message.get(), bag.get(), encoding);
  if (signer) {
    const Base::CertStore chain = SignerChainStore(signer.get(), bag.get());
    found = chain && Base::CertContext(CertFindCertificateInStore(chain.get(), encoding, 0, CERT_FIND_SUBJECT_STR_W,
                                                                  subject.c_str(), nullptr))
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
  if (Base::VerifyFileSignature(file.c_str()) != 0 || !FindCertificateBySubject(file, name)) {
    LogAndRaiseWorkflowError(ErrorCode::kExecutableRejected);
  }
  publishOutput(store, Catalog::kIsSigned, L"1");
}

}  // namespace GenericStub
