#include "blockformat/PeLayout.h"

namespace BlockFormat {

namespace {

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kPeOffsetField = 60;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kDataDirectorySize = 8;
constexpr size_t kSecurityDirectoryIndex = 4;
constexpr size_t kChecksumField = 64;  // the same in PE32 and PE32+ optional headers

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Data directories start 96 bytes into a PE32 optional header and 112 bytes into
// a PE32+ one; the count of directories sits just before them.
void ReadDataDirectories(const uint8_t* data, PeHeaders& headers) {
  if (headers.optionalHeaderSize < 2) return;
  size_t directories = 0;
  switch (ReadU16(data + headers.optionalHeader)) {
    case 0x10b: directories = 96; break;
    case 0x20b: directories = 112; break;
    default: return;
  }
  if (headers.optionalHeaderSize < directories) return;
  headers.dataDirectories = headers.optionalHeader + directories;
  const uint32_t count = ReadU32(data + headers.optionalHeader + directories - 4);
  const size_t entry = directories + kSecurityDirectoryIndex * kDataDirectorySize;
  if (count > kSecurityDirectoryIndex && entry + kDataDirectorySize <= headers.optionalHeaderSize) {
    headers.securityDirectoryOffset = headers.optionalHeader + entry;
  }
}

}  // namespace

std::optional<PeHeaders> ReadPeHeaders(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kDosHeaderSize || data[0] != 'M' || data[1] != 'Z') {
    return std::nullopt;
  }
  const uint64_t signature = ReadU32(data + kPeOffsetField);
  const uint64_t fileHeader = signature + 4;
  if (fileHeader + kFileHeaderSize > size) return std::nullopt;
  if (data[signature] != 'P' || data[signature + 1] != 'E' || data[signature + 2] != 0 ||
      data[signature + 3] != 0) {
    return std::nullopt;
  }
  PeHeaders headers;
  headers.sectionCount = ReadU16(data + fileHeader + 2);
  // The optional header's size is read from the file header: 224 bytes for
  // 32-bit images, 240 for 64-bit ones.
  headers.optionalHeaderSize = ReadU16(data + fileHeader + 16);
  headers.optionalHeader = static_cast<size_t>(fileHeader + kFileHeaderSize);
  if (uint64_t{headers.optionalHeader} + headers.optionalHeaderSize > size) return std::nullopt;
  ReadDataDirectories(data, headers);
  return headers;
}

std::optional<PeLayout> ReadPeLayout(const uint8_t* data, size_t size) {
  const std::optional<PeHeaders> headers = ReadPeHeaders(data, size);
  if (!headers) return std::nullopt;
  const uint64_t sectionTable = uint64_t{headers->optionalHeader} + headers->optionalHeaderSize;
  if (sectionTable + uint64_t{headers->sectionCount} * kSectionHeaderSize > size) return std::nullopt;

  PeLayout layout;
  uint64_t largestOffset = 0;
  uint64_t end = 0;
  for (uint16_t i = 0; i < headers->sectionCount; ++i) {
    const uint8_t* section = data + sectionTable + uint64_t{i} * kSectionHeaderSize;
    const uint32_t rawSize = ReadU32(section + 16);
    const uint32_t rawOffset = ReadU32(section + 20);
    if (rawOffset > largestOffset) {
      largestOffset = rawOffset;
      end = uint64_t{rawOffset} + rawSize;
    }
  }
  if (end > size) return std::nullopt;
  layout.sectionDataEnd = static_cast<size_t>(end);
  layout.securityDirectoryOffset = headers->securityDirectoryOffset;
  if (headers->optionalHeaderSize >= kChecksumField + 4) {
    layout.checksumOffset = headers->optionalHeader + kChecksumField;
  }
  return layout;
}

std::string_view EmbeddedBlockBytes(const uint8_t* data, size_t size) {
  const std::optional<PeLayout> layout = ReadPeLayout(data, size);
  if (!layout) return {};
  const char* begin = reinterpret_cast<const char*>(data) + layout->sectionDataEnd;
  size_t length = 0;
  const size_t available = size - layout->sectionDataEnd;
  while (length < available && begin[length] != '\0') ++length;
  return {begin, length};
}

}  // namespace BlockFormat
