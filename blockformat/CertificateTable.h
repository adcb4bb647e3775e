#pragma once
// The certificate table of a signed PE file: where it lies, and whether it holds
// only the signature. The Authenticode digest skips the table, so any byte in it
// besides the signature is unsigned data that travels under the signer's name.
// Portable (no Windows headers); every offset is checked against the buffer.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace BlockFormat {

struct CertificateTableSpan {
  uint64_t offset = 0;  // file offset; 0 with size 0 when the file carries no table
  uint64_t size = 0;
};

// The security directory of a PE file, read from its first bytes (the headers;
// 4096 bytes hold them in any file a linker writes). Nothing when the bytes are
// not the headers of a PE image or the directory lies outside them.
std::optional<CertificateTableSpan> ReadCertificateTableSpan(const uint8_t* headers, size_t size);

enum class CertificateTableContent {
  kSignatureOnly,  // one WIN_CERTIFICATE whose DER signature is followed by zero padding to 8 bytes at most
  kExtraBytes,     // anything else after the signature: non-zero padding, more padding, another entry
  kMalformed,      // no entry, or an entry or DER length that does not fit
};

// What the table (its bytes, from the security directory) holds, checked as
// Windows' strict padding check does.
CertificateTableContent ClassifyCertificateTable(const uint8_t* table, size_t size);

// Whether an archive found in a file at [start, end) may be unpacked: for a PE
// file with a certificate table (table set, size not 0) the archive must begin
// and end in front of the table, inside the signed bytes; otherwise always.
bool ArchiveLiesInSignedBytes(const std::optional<CertificateTableSpan>& table, uint64_t start, uint64_t end);

}  // namespace BlockFormat
