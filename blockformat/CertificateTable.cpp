#include "blockformat/CertificateTable.h"

namespace BlockFormat {

namespace {

constexpr size_t kPeOffsetField = 60;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSecurityDirectoryIndex = 4;
constexpr size_t kEntryHeaderSize = 8;  // dwLength, wRevision, wCertificateType

uint32_t ReadU16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }

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
  if (size < kPeOffsetField + 4 || headers[0] != 'M' || headers[1] != 'Z') return std::nullopt;
  const size_t pe = ReadU32(headers + kPeOffsetField);
  if (pe > size || size - pe < 4 + kFileHeaderSize) return std::nullopt;
  if (headers[pe] != 'P' || headers[pe + 1] != 'E' || headers[pe + 2] != 0 || headers[pe + 3] != 0) {
    return std::nullopt;
  }
  const size_t optionalHeaderSize = ReadU16(headers + pe + 4 + 16);
  const size_t optionalHeader = pe + 4 + kFileHeaderSize;
  if (optionalHeaderSize < 2 || size - optionalHeader < optionalHeaderSize) return std::nullopt;
  size_t directories = 0;
  switch (ReadU16(headers + optionalHeader)) {
    case 0x10b: directories = 96; break;
    case 0x20b: directories = 112; break;
    default: return std::nullopt;
  }
  if (optionalHeaderSize < directories) return std::nullopt;
  const uint32_t count = ReadU32(headers + optionalHeader + directories - 4);
  const size_t entry = directories + kSecurityDirectoryIndex * 8;
  if (count <= kSecurityDirectoryIndex || entry + 8 > optionalHeaderSize) return CertificateTableSpan{};
  // For the security directory the "address" is a file offset, not an RVA.
  return CertificateTableSpan{ReadU32(headers + optionalHeader + entry),
                              ReadU32(headers + optionalHeader + entry + 4)};
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
