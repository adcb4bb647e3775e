#pragma once
// The proxy manager's public records and status codes.
//
// All texts are UTF-8. The texts of a filled ProxyInfo are separate heap copies
// made by the manager; the caller releases them with orvkFreeProxyInfo.

#include <cstdint>

namespace ORVK::ProxyManager {

struct UserData {
  const char* url = nullptr;       // required: the URL to be fetched
  const char* user = nullptr;      // proxy user the caller already knows, or none
  const char* password = nullptr;  // its password, or none
  bool silentMode = false;         // true: never show the credential dialog
};

struct ProxyInfo {
  char* user = nullptr;
  char* password = nullptr;
  char* server = nullptr;
  char* serverPort = nullptr;
  uint32_t authScheme = 0;  // 0 none, 1 Basic, 2 Digest, 4 NTLM or Negotiate
};

using PmStatus = int;
constexpr PmStatus PM_STATUS_SUCCESS = 0;        // a proxy was found and accepted
constexpr PmStatus PM_STATUS_NO_PROXY = 1;       // nothing configured: connect directly
constexpr PmStatus PM_STATUS_API_FAILURE = 2;    // a Windows call failed, or no usable proxy
// 3 is not used.
constexpr PmStatus PM_STATUS_INVALID_INPUT = 4;  // a record is missing, or the URL is empty or not UTF-8
constexpr PmStatus PM_STATUS_USER_CANCELLED = 5;
constexpr PmStatus PM_STATUS_SILENT_MODE_ERROR = 6;  // credentials needed but no dialog allowed

// Authentication scheme bits as WinHTTP reports and takes them.
constexpr uint32_t kAuthSchemeBasic = 1;
constexpr uint32_t kAuthSchemeNtlm = 2;
constexpr uint32_t kAuthSchemePassport = 4;
constexpr uint32_t kAuthSchemeDigest = 8;
constexpr uint32_t kAuthSchemeNegotiate = 16;

}  // namespace ORVK::ProxyManager
