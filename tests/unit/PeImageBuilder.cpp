#include "PeImageBuilder.h"

#include <algorithm>
#include <cstring>

namespace {

// Header fields are little-endian, like the machines the tests run on.
void Put(std::vector<uint8_t>& image, size_t at, uint32_t value, size_t bytes) {
  std::memcpy(image.data() + at, &value, bytes);
}

}  // namespace

std::vector<uint8_t> PeImageBuilder::build() const {
  constexpr size_t kPe = 0x80;
  const uint16_t optionalSize = pe32Plus ? 240 : 224;
  const size_t table = kPe + 24 + optionalSize;
  size_t end = table + 40 * sections.size();
  for (const TestSection& s : sections) end = std::max<size_t>(end, size_t{s.rawOffset} + s.rawSize);

  std::vector<uint8_t> b(end, 0);
  Put(b, 0, 'M' | ('Z' << 8), 2);
  Put(b, 60, kPe, 4);
  Put(b, kPe, 'P' | ('E' << 8), 4);
  Put(b, kPe + 6, static_cast<uint32_t>(sections.size()), 2);
  Put(b, kPe + 20, optionalSize, 2);
  Put(b, kPe + 24, pe32Plus ? 0x20b : 0x10b, 2);
  Put(b, kPe + 24 + (pe32Plus ? 108 : 92), 16, 4);  // the number of data directories
  for (size_t i = 0; i < sections.size(); ++i) {
    Put(b, table + 40 * i + 16, sections[i].rawSize, 4);
    Put(b, table + 40 * i + 20, sections[i].rawOffset, 4);
  }
  return b;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> image, const std::string& tail) {
  image.insert(image.end(), tail.begin(), tail.end());
  return image;
}
