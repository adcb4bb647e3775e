#pragma once
// The URL token, also exported by name from TarnwickGUI.exe for other programs.
//
// The token is MD5(key + MD5(expiry32 + path + additional + key)) in lowercase
// hex, where expiry32 is the low 32 bits of the expiry, least significant byte
// first, and each text enters without its terminating zero.

#include <cstdint>

#define URLAUTH_EXPORT __declspec(dllexport)

extern "C" {

// "1.1.3".
URLAUTH_EXPORT extern const char* const url_auth_version;

// Computes the token of path, valid for lifetime seconds from startTime (0
// means now, from the download client's clock). When *token is null a 33-byte
// buffer is allocated with malloc and stored there (the caller frees it with
// free); otherwise *token must hold at least 33 bytes. expiry may be null.
// Returns 0, or: -1 no path, -2 empty path, -3 no key, -4 empty key, -6 no
// token reference, -7 no CryptoAPI context, -8 to -17 a hashing step failed.
// On failure a buffer allocated here is freed again and *token reset to null.
URLAUTH_EXPORT int __cdecl urlauth_gen_token(const char* path, std::int64_t startTime, std::int64_t lifetime,
                                             const char* key, const char* additional, std::int64_t* expiry,
                                             char** token);

// Signs url as a whole (taken as the path) and appends "<sep><name>=<expiry>_<token>",
// where sep is "&" when url already has a "?", else "?", and name is
// parameterName or "__gda__" when null. The name must have 5 to 12
// characters, else -101. When *signedUrl is null a buffer of the exact size is
// allocated with malloc (the caller frees it); otherwise *signedUrl must hold
// strlen(url) + strlen(name) + 56 bytes. Returns 0, the token's negative
// status, or -101.
URLAUTH_EXPORT int __cdecl urlauth_gen_URL(const char* url, std::int64_t startTime, std::int64_t lifetime,
                                           const char* key, const char* additional, const char* parameterName,
                                           std::int64_t* expiry, char** signedUrl);
}
