#include "base/SignatureCheck.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include "base/ExecutionLog.h"
#include "base/SignerChainVerdict.h"

namespace Base {
namespace {

// WinVerifyTrust on Wine accepts a SHA-256 signature whose root is not trusted
// or whose chain does not reach a root, where Windows answers
// CERT_E_UNTRUSTEDROOT or CERT_E_CHAINING. Checking the signer's chain as the
// Authenticode policy does makes the verdict Windows' on both; on Windows it
// rejects nothing that WinVerifyTrust accepted.
LONG CheckSignerChain(HANDLE stateData, const VerifiedSignerChainCheck& check) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
  CRYPT_PROVIDER_SGNR* signer =
      provider != nullptr ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
  if (signer == nullptr || signer->pChainContext == nullptr) return TRUST_E_NOSIGNATURE;

  CERT_CHAIN_POLICY_PARA policy = {};
  policy.cbSize = sizeof policy;
  CERT_CHAIN_POLICY_STATUS status = {};
  status.cbSize = sizeof status;
  SignerChainFacts facts;
  facts.policyCallSucceeded = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE,
                                                               signer->pChainContext, &policy, &status) != FALSE;
  facts.policyError = status.dwError;
  facts.chainErrorStatus = signer->pChainContext->TrustStatus.dwErrorStatus;
  const LONG verdict = SignerChainVerdict(facts);
  if (verdict == 0 && check && !check(signer->pChainContext)) return TRUST_E_SUBJECT_NOT_TRUSTED;
  return verdict;
}

LONG Verify(HANDLE handle, const wchar_t* path, const VerifiedSignerChainCheck& check) {
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = path;
  file.hFile = handle;

  // Since Windows 8 the record ends with a signature-settings pointer that
  // mingw's header leaves out; its size announces the full record, with no
  // settings given.
  struct {
    WINTRUST_DATA data;
    void* signatureSettings;
  } record = {};
  WINTRUST_DATA& trust = record.data;
  trust.cbStruct = sizeof record;
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;

  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  LONG result = WinVerifyTrust(nullptr, &action, &trust);
  if (result == 0) {
    result = CheckSignerChain(trust.hWVTStateData, check);
    if (result == TRUST_E_SUBJECT_NOT_TRUSTED) {
      trust.dwStateAction = WTD_STATEACTION_CLOSE;
      WinVerifyTrust(nullptr, &action, &trust);
      return result;
    }
    if (result != 0) SetLastError(static_cast<DWORD>(result));
  }
  if (result != 0) {
    const DWORD lastError = GetLastError();
    LogInfo(L"The file \"%s\" is not properly signed. WinVerifyTrust() return value [%x], "
            L"GetLastError() return value [%x].\n",
            path, static_cast<unsigned>(result), static_cast<unsigned>(lastError));
  }

  // The verification state is released in every case.
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(nullptr, &action, &trust);
  return result;
}

}  // namespace

LONG VerifyFileSignature(HANDLE file, const wchar_t* path, const VerifiedSignerChainCheck& check) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return 2;
  // The trust provider reads through the handle from wherever it stands.
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return 2;
  return Verify(file, path != nullptr ? path : L"", check);
}

}  // namespace Base
