#include "blockformat/CertificateTable.h"

#include "blockformat/PeLayout.h"

namespace BlockFormat {

namespace {

constexpr size_t kEntryHeaderSize = 8;  // dwLength, wRevision, wCertificateType

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The length of the DER element at der (tag, length, contents), or nothing
// when its definite length does not fit in size.
std::optional<size_t> DerElementLength(const uint8_t* der, size_t size) {
  if (size < 2 || der[0] != 0x30) return std::nullopt;  // a SEQUENCE: PKCS #7 ContentInfo
  size_t header = 2;
  size_t length = der[1];
  if (length & 0x80) {
    const size_t bytes = length & 0x7f;
    if (bytes == 0 || bytes > 4 || size < 2 + bytes) return std::nullopt;  // indefinite or absurd
    length = 0;
    for (size_t i = 0; i < bytes; ++i) length = (length << 8) | der[2 + i];
    header += bytes;
  }
  if (length > size - header) return std::nullopt;
  return header + length;
}

}  // namespace

std::optional<CertificateTableSpan> ReadCertificateTableSpan(const uint8_t* headers, size_t size) {
  const std::optional<PeHeaders> pe = ReadPeHeaders(headers, size);
  if (!pe || !pe->dataDirectories) return std::nullopt;
  if (!pe->securityDirectoryOffset) return CertificateTableSpan{};
  // For the security directory the "address" is a file offset, not an RVA.
  const uint8_t* entry = headers + *pe->securityDirectoryOffset;
  return CertificateTableSpan{ReadU32(entry), ReadU32(entry + 4)};
}

CertificateTableContent ClassifyCertificateTable(const uint8_t* table, size_t size) {
  if (size < kEntryHeaderSize) return CertificateTableContent::kMalformed;
  const size_t length = ReadU32(table);
  if (length < kEntryHeaderSize || length > size) return CertificateTableContent::kMalformed;
  const std::optional<size_t> der = DerElementLength(table + kEntryHeaderSize, length - kEntryHeaderSize);
  if (!der) return CertificateTableContent::kMalformed;
  // Entries start on 8-byte boundaries; after the signature only the zeros
  // that reach the next one may follow, inside the entry or after it.
  const size_t signatureEnd = kEntryHeaderSize + *der;
  const size_t paddedEnd = (signatureEnd + 7) / 8 * 8;
  if (size != paddedEnd && size != signatureEnd) return CertificateTableContent::kExtraBytes;
  for (size_t i = signatureEnd; i < size; ++i) {
    if (table[i] != 0) return CertificateTableContent::kExtraBytes;
  }
  return CertificateTableContent::kSignatureOnly;
}

bool ArchiveLiesInSignedBytes(const std::optional<CertificateTableSpan>& table, uint64_t start, uint64_t end) {
  if (!table || table->size == 0) return true;
  return start <= end && end <= table->offset;
}

}  // namespace BlockFormat
