// Where the block starts in a PE image: stubpack reads and writes at the
// offsets found, the stub reads from the block start, so each must lie inside the image.
#include "FuzzSupport.h"
#include "blockformat/PeLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<BlockFormat::PeLayout> layout = BlockFormat::ReadPeLayout(data, size);
  const std::string_view block = BlockFormat::EmbeddedBlockBytes(data, size);
  if (!layout) {
    FUZZ_CHECK(block.empty());
    return 0;
  }
  FUZZ_CHECK(layout->sectionDataEnd <= size);
  FUZZ_CHECK(!layout->securityDirectoryOffset || *layout->securityDirectoryOffset + 8 <= size);
  FUZZ_CHECK(!layout->checksumOffset || *layout->checksumOffset + 4 <= size);
  FUZZ_CHECK(block.data() == reinterpret_cast<const char*>(data) + layout->sectionDataEnd);
  FUZZ_CHECK(block.size() <= size - layout->sectionDataEnd);
  FUZZ_CHECK(block.find('\0') == std::string_view::npos);
  return 0;
}
