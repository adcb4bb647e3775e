// stores add-root|remove-root|has-root CERT.der
// stores read TARGET | write TARGET USER PASSWORD | delete TARGET
// The prefix's stores, independently of the program's own code: a test CA in
// the machine's trusted root store (has-root exits 0 when the store holds it),
// and generic credentials of the credential store ("read" prints user=,
// password=, blobsize=, persist= and type= lines in UTF-8). Exit code 1 when
// the action fails or there is no such record, 2 for a usage error.

#include <windows.h>

#include <wincred.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/Utf8Text.h"

namespace {

using Base::WideToUtf8Lenient;

int RootStore(const std::wstring& action, const wchar_t* certificate) {
  std::ifstream in(certificate, std::ios::binary);
  const std::vector<BYTE> der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const Base::CertContext cert(
      CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
  const Base::CertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!cert || !store) return 1;
  const Base::CertContext found(
      CertFindCertificateInStore(store.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert.get(), nullptr));
  if (action == L"add-root") {
    return CertAddCertificateContextToStore(store.get(), cert.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) ? 0 : 1;
  }
  if (action == L"remove-root") {
    // The deletion frees the context it is given: a duplicate, so that found's own stays valid.
    return found && !CertDeleteCertificateFromStore(CertDuplicateCertificateContext(found.get())) ? 1 : 0;
  }
  return found ? 0 : 1;
}

int ReadCredential(const wchar_t* target) {
  Base::CredentialRecord owner;
  if (!CredReadW(target, CRED_TYPE_GENERIC, 0, owner.receive())) return 1;
  const PCREDENTIALW record = owner.get();
  const std::wstring password(reinterpret_cast<const wchar_t*>(record->CredentialBlob),
                              record->CredentialBlob != nullptr ? record->CredentialBlobSize / 2 : 0);
  std::printf("user=%s\npassword=%s\nblobsize=%lu\npersist=%lu\ntype=%lu\n",
              WideToUtf8Lenient(record->UserName != nullptr ? record->UserName : L"").c_str(),
              WideToUtf8Lenient(password).c_str(), static_cast<unsigned long>(record->CredentialBlobSize),
              static_cast<unsigned long>(record->Persist), static_cast<unsigned long>(record->Type));
  return 0;
}

int WriteCredential(const wchar_t* target, wchar_t* user, const std::wstring& password) {
  CREDENTIALW record = {};
  record.Type = CRED_TYPE_GENERIC;
  record.TargetName = const_cast<wchar_t*>(target);
  record.UserName = user;
  record.CredentialBlobSize = static_cast<DWORD>(password.size() * 2);
  record.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<wchar_t*>(password.data()));
  record.Persist = CRED_PERSIST_LOCAL_MACHINE;
  return CredWriteW(&record, 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring action = argc >= 3 ? argv[1] : L"";
  if (argc == 3 && (action == L"add-root" || action == L"remove-root" || action == L"has-root")) {
    return RootStore(action, argv[2]);
  }
  if (argc == 3 && action == L"read") return ReadCredential(argv[2]);
  if (argc == 5 && action == L"write") return WriteCredential(argv[2], argv[3], argv[4]);
  if (argc == 3 && action == L"delete") {
    return CredDeleteW(argv[2], CRED_TYPE_GENERIC, 0) || GetLastError() == ERROR_NOT_FOUND ? 0 : 1;
  }
  std::fprintf(stderr, "usage: stores add-root|remove-root|has-root CERT.der | read|delete TARGET | write TARGET USER PASSWORD\n");
  return 2;
}
