// credstore read TARGET | write TARGET USER PASSWORD | delete TARGET
// Reads, writes and removes generic credentials of the Windows credential
// store, independently of the program's own code. "read" prints user=,
// password=, blobsize=, persist= and type= lines (UTF-8); exit code 1 when
// there is no record, 0 otherwise.

#include <windows.h>

#include <wincred.h>

#include <cstdio>
#include <string>

#include "base/Utf8Text.h"

using Base::WideToUtf8Lenient;

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: credstore read|write|delete TARGET [USER PASSWORD]\n");
    return 2;
  }
  const std::wstring command = argv[1];
  const wchar_t* target = argv[2];
  if (command == L"read") {
    PCREDENTIALW record = nullptr;
    if (!CredReadW(target, CRED_TYPE_GENERIC, 0, &record)) return 1;
    std::wstring password;
    if (record->CredentialBlob != nullptr) {
      password.assign(reinterpret_cast<const wchar_t*>(record->CredentialBlob), record->CredentialBlobSize / 2);
    }
    std::printf("user=%s\npassword=%s\nblobsize=%lu\npersist=%lu\ntype=%lu\n",
                WideToUtf8Lenient(record->UserName != nullptr ? record->UserName : L"").c_str(),
                WideToUtf8Lenient(password).c_str(), static_cast<unsigned long>(record->CredentialBlobSize),
                static_cast<unsigned long>(record->Persist), static_cast<unsigned long>(record->Type));
    CredFree(record);
    return 0;
  }
  if (command == L"write" && argc == 5) {
    const std::wstring password = argv[4];
    CREDENTIALW record = {};
    record.Type = CRED_TYPE_GENERIC;
    record.TargetName = const_cast<wchar_t*>(target);
    record.UserName = argv[3];
    record.CredentialBlobSize = static_cast<DWORD>(password.size() * 2);
    record.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<wchar_t*>(password.data()));
    record.Persist = CRED_PERSIST_LOCAL_MACHINE;
    return CredWriteW(&record, 0) ? 0 : 1;
  }
  if (command == L"delete") return CredDeleteW(target, CRED_TYPE_GENERIC, 0) || GetLastError() == ERROR_NOT_FOUND ? 0 : 1;
  std::fprintf(stderr, "credstore: unknown command\n");
  return 2;
}
