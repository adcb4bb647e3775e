#pragma once
// Reads the few facts of a PE image that the metadata block depends on.
// Portable (no Windows headers): the stub and the packer compile it alike.
// Every offset is checked against the buffer, so a truncated or hostile image
// yields nothing rather than an out-of-bounds read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace BlockFormat {

// The headers of a PE image: everything up to the end of its optional header.
struct PeHeaders {
  size_t optionalHeader = 0;  // file offset
  uint16_t optionalHeaderSize = 0;
  uint16_t sectionCount = 0;
  // File offset of the first data directory; nothing when the optional header's
  // magic is neither PE32 nor PE32+ or the header ends before its directories.
  std::optional<size_t> dataDirectories;
  // File offset of the security (certificate table) directory entry, when the
  // directory count and the optional header both reach it.
  std::optional<size_t> securityDirectoryOffset;
};

// Nothing unless the buffer starts with the DOS header, the PE signature and
// a file and optional header that all lie inside it. Reads nothing past the
// optional header, so the first bytes of a file are enough.
std::optional<PeHeaders> ReadPeHeaders(const uint8_t* data, size_t size);

struct PeLayout {
  // File offset just past the raw data of the last section (the section with the
  // largest raw-data offset); 0 for an image without sections. The block starts here.
  size_t sectionDataEnd = 0;
  // File offset of the security (certificate table) data-directory entry, if the
  // optional header has one.
  std::optional<size_t> securityDirectoryOffset;
  // File offset of the optional header's CheckSum field, if the header holds it.
  std::optional<size_t> checksumOffset;
};

// Nothing when the buffer is not a PE image, or when a header, the section
// table or the last section's raw data lies outside the buffer.
std::optional<PeLayout> ReadPeLayout(const uint8_t* data, size_t size);

// The bytes of the embedded block: from the end of the section data up to the
// first zero byte or the end of the buffer. Empty when ReadPeLayout fails.
std::string_view EmbeddedBlockBytes(const uint8_t* data, size_t size);

}  // namespace BlockFormat
