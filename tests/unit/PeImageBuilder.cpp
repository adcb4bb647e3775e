#include "PeImageBuilder.h"

#include <algorithm>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> PeImageBuilder::build() const {
  const uint16_t optionalSize = pe32Plus ? 240 : 224;
  const size_t optional = peOffset + 24;
  const size_t table = optional + optionalSize;
  size_t end = table + 40 * sections.size();
  for (const TestSection& s : sections) end = std::max<size_t>(end, size_t{s.rawOffset} + s.rawSize);

  std::vector<uint8_t> b(end, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 60, peOffset);
  if (peOffset + 24 > b.size()) return b;
  b[peOffset] = 'P';
  b[peOffset + 1] = 'E';
  Put16(b, peOffset + 4, pe32Plus ? 0x8664 : 0x14c);
  Put16(b, peOffset + 6, sectionCountOverride != 0 ? sectionCountOverride : static_cast<uint32_t>(sections.size()));
  Put16(b, peOffset + 20, optionalSize);
  if (optional + optionalSize <= b.size() && optionalSize >= 112) {
    Put16(b, optional, pe32Plus ? 0x20b : 0x10b);
    Put32(b, optional + (pe32Plus ? 108 : 92), 16);  // number of data directories
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    const size_t header = table + 40 * i;
    b[header] = '.';
    b[header + 1] = static_cast<uint8_t>('a' + i);
    Put32(b, header + 16, sections[i].rawSize);
    Put32(b, header + 20, sections[i].rawOffset);
    if (sections[i].rawOffset != 0) {
      std::fill_n(b.begin() + sections[i].rawOffset, sections[i].rawSize, uint8_t{0xCC});
    }
  }
  return b;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> image, const std::string& tail) {
  image.insert(image.end(), tail.begin(), tail.end());
  return image;
}
