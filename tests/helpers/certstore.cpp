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

#include "base/Handles.h"

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
  const Base::CertContext cert(
      CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
  if (!cert) {
    std::fprintf(stderr, "certstore: not a DER certificate (error %lu)\n", GetLastError());
    return 1;
  }
  const Base::CertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!store) {
    std::fprintf(stderr, "certstore: cannot open the root store (error %lu)\n", GetLastError());
    return 1;
  }
  const Base::CertContext found(
      CertFindCertificateInStore(store.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert.get(), nullptr));
  if (action == L"add-root") {
    return CertAddCertificateContextToStore(store.get(), cert.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) ? 0 : 1;
  }
  if (action == L"remove-root") {
    // The deletion frees the context it is given: a duplicate, so that found's own stays valid.
    return found && !CertDeleteCertificateFromStore(CertDuplicateCertificateContext(found.get())) ? 1 : 0;
  }
  if (action == L"has-root") return found ? 0 : 1;
  return 2;
}
