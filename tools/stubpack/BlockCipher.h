#pragma once
// AES-128-ECB with PKCS #7 padding under the stub's key (BlockFormat.h), the
// cipher of the metadata block, through OpenSSL.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::vector<uint8_t> EncryptDocument(const std::string& document);

// Nothing when the length is not a multiple of 16 or the padding is not valid.
std::optional<std::string> DecryptDocument(const std::vector<uint8_t>& cipher);
