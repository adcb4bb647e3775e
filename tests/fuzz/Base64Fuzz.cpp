// Base64 of the block text: any text decodes within its own length, and
// encoding then decoding gives the bytes back.
#include "FuzzSupport.h"
#include "blockformat/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = Bytes(data, size);
  std::vector<uint8_t> decoded;
  FUZZ_CHECK(BlockFormat::DecodeBase64Text(text, text.size(), decoded));
  FUZZ_CHECK(decoded.size() <= text.size() * 3 / 4);

  std::vector<uint8_t> again;
  const std::string encoded = BlockFormat::EncodeBase64(decoded.data(), decoded.size());
  FUZZ_CHECK(BlockFormat::DecodeBase64Text(encoded, encoded.size(), again) && again == decoded);

  const std::string raw = BlockFormat::EncodeBase64(data, size);
  FUZZ_CHECK(BlockFormat::DecodeBase64Text(raw, raw.size(), again));
  FUZZ_CHECK(again == std::vector<uint8_t>(data, data + size));

  // A capacity too small for the result fails instead of writing past it.
  if (!decoded.empty()) {
    FUZZ_CHECK(!BlockFormat::DecodeBase64Text(text, decoded.size() - 1, again));
    FUZZ_CHECK(again.size() <= decoded.size() - 1);
  }
  return 0;
}
