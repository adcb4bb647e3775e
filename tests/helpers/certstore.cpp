// certstore add-root|remove-root|has-root CERT.der
// Adds a test CA to, or removes it from, the machine's trusted root store of
// the Wine prefix; has-root exits 0 when the store holds it.

#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> ReadFile(const wchar_t* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: certstore add-root|remove-root|has-root CERT.der\n");
    return 2;
  }
  const std::wstring action = argv[1];
  const std::vector<BYTE> der = ReadFile(argv[2]);
  PCCERT_CONTEXT cert = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
  if (cert == nullptr) {
    std::fprintf(stderr, "certstore: not a DER certificate (error %lu)\n", GetLastError());
    return 1;
  }
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  if (store == nullptr) {
    std::fprintf(stderr, "certstore: cannot open the root store (error %lu)\n", GetLastError());
    CertFreeCertificateContext(cert);
    return 1;
  }
  int result = 0;
  PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert, nullptr);
  if (action == L"add-root") {
    if (!CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) result = 1;
  } else if (action == L"remove-root") {
    if (found != nullptr && CertDeleteCertificateFromStore(CertDuplicateCertificateContext(found)) == FALSE) result = 1;
  } else if (action == L"has-root") {
    result = found != nullptr ? 0 : 1;
  } else {
    result = 2;
  }
  if (found != nullptr) CertFreeCertificateContext(found);
  CertFreeCertificateContext(cert);
  CertCloseStore(store, 0);
  return result;
}
