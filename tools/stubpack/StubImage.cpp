#include "tools/stubpack/StubImage.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "blockformat/Base64.h"
#include "blockformat/BlockFormat.h"
#include "blockformat/PeLayout.h"
#include "tools/stubpack/BlockCipher.h"

using BlockFormat::DecodeBase64Text;
using BlockFormat::EmbeddedBlockBytes;
using BlockFormat::EncodeBase64;
using BlockFormat::PeLayout;
using BlockFormat::ReadPeLayout;

namespace {

// The PE image checksum: the 16-bit one's-complement-style sum of the file with
// the CheckSum field taken as zero, plus the file length.
void UpdateChecksum(std::vector<uint8_t>& image, size_t checksumOffset) {
  std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(checksumOffset), 4, 0);
  uint64_t sum = 0;
  for (size_t i = 0; i < image.size(); i += 2) {
    sum += image[i] | (i + 1 < image.size() ? image[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  const uint32_t checksum = static_cast<uint32_t>(sum + image.size());
  for (size_t i = 0; i < 4; ++i) image[checksumOffset + i] = static_cast<uint8_t>(checksum >> (8 * i));
}

}  // namespace

std::vector<uint8_t> PackStub(const std::vector<uint8_t>& stub, const std::string& document) {
  const std::optional<PeLayout> layout = ReadPeLayout(stub.data(), stub.size());
  if (!layout) throw PackError("the stub is not a complete PE image");

  std::vector<uint8_t> packed(stub.begin(), stub.begin() + static_cast<std::ptrdiff_t>(layout->sectionDataEnd));
  if (layout->securityDirectoryOffset && *layout->securityDirectoryOffset + 8 <= packed.size()) {
    std::fill_n(packed.begin() + static_cast<std::ptrdiff_t>(*layout->securityDirectoryOffset), 8, 0);
  }

  const std::vector<uint8_t> cipher = EncryptDocument(document);
  const std::string text = EncodeBase64(cipher.data(), cipher.size()) + BlockFormat::kMarker;
  packed.insert(packed.end(), text.begin(), text.end());
  // The certificate table must start on an 8-byte boundary, and the reader
  // needs at least one zero byte to end the text.
  do {
    packed.push_back(0);
  } while (packed.size() % 8 != 0);
  if (layout->checksumOffset) UpdateChecksum(packed, *layout->checksumOffset);
  return packed;
}

std::string ReadPackedDocument(const std::vector<uint8_t>& file) {
  std::string text(EmbeddedBlockBytes(file.data(), file.size()));
  const std::string_view marker = BlockFormat::kMarker;
  for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
    text.erase(at, marker.size());
  }
  if (text.empty()) throw PackError("the file carries no metadata block");

  std::vector<uint8_t> cipher;
  if (!DecodeBase64Text(text, text.size(), cipher)) throw PackError("the block is not base64 text");
  const std::optional<std::string> plain = DecryptDocument(cipher);
  if (!plain) throw PackError("the block does not decrypt with the stub's key");
  return plain->substr(0, plain->find('\0'));
}
