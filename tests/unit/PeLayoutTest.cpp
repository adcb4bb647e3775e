#include "blockformat/PeLayout.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "PeImageBuilder.h"

using namespace BlockFormat;

namespace {

std::optional<PeLayout> Layout(const std::vector<uint8_t>& image) {
  return ReadPeLayout(image.data(), image.size());
}

// The block starts after the raw data of the section with the largest raw offset
// (the first in the table of equal ones; sections without raw data never count).
TEST(PeLayout, SectionDataEndsAfterTheSectionWithTheLargestRawOffset) {
  const struct {
    std::vector<TestSection> sections;
    bool pe32Plus;
    size_t end;
  } cases[] = {
      {{{0x400, 0x200}, {0x1000, 0x300}, {0x600, 0x800}}, false, 0x1300},
      {{{0x400, 0x200}, {0x400, 0x800}, {0x300, 0x1000}}, false, 0x600},
      {{{0x400, 0x200}, {0, 0x5000}}, false, 0x600},
      {{}, false, 0},
      {{{0x400, 0x100}, {0x800, 0x100}}, true, 0x900},  // after the larger optional header
  };
  for (const auto& c : cases) {
    PeImageBuilder b;
    b.sections = c.sections;
    b.pe32Plus = c.pe32Plus;
    const auto layout = Layout(b.build());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->sectionDataEnd, c.end);
  }
}

// Where the entry lies in a 64-bit header is shown by the stubpack scenario that
// repacks a signed stub (the entry is cleared); in a 32-bit one here.
TEST(PeLayout, SecurityDirectoryEntryMustLieInsideTheOptionalHeaderAndItsDirectoryCount) {
  const auto image = PeImageBuilder().build();
  constexpr size_t kOptional = 0x80 + 24;
  constexpr size_t kEntry = kOptional + 96 + 4 * 8;
  const struct {
    uint16_t optionalSize;
    uint32_t directories;
    std::optional<size_t> entry;
  } cases[] = {
      {96 + 5 * 8, 5, kEntry},
      {96 + 5 * 8 - 1, 5, std::nullopt},  // the entry's last byte outside the header
      {224, 4, std::nullopt},             // only four directories: no security entry
      {95, 16, std::nullopt},             // not even the directory count fits
  };
  for (const auto& c : cases) {
    auto changed = image;
    std::memcpy(changed.data() + 0x80 + 20, &c.optionalSize, 2);
    std::memcpy(changed.data() + kOptional + 92, &c.directories, 4);
    const auto layout = ReadPeLayout(changed.data(), changed.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->securityDirectoryOffset, c.entry) << c.optionalSize << " " << c.directories;
  }
}

// That no offset found lies past the end of any buffer, truncated or with any
// header field changed, is the property of the PeLayoutFuzz target.
TEST(PeLayout, BuffersThatAreNotPeImagesOrPointPastTheirEndAreRejected) {
  EXPECT_FALSE(ReadPeLayout(nullptr, 0));
  EXPECT_FALSE(Layout(std::vector<uint8_t>(512, 'A')));
  PeImageBuilder b;
  b.sections = {{0x400, 0x100}};
  const auto image = b.build();
  const struct {
    size_t offset;
    uint32_t value;
    size_t bytes;
  } changes[] = {
      {0x81, 'X', 1},                            // "PX\0\0" is not the PE signature
      {60, 0xFFFFFFF0u, 4},                      // the PE header so far past the end that 32-bit offsets wrap
  };
  for (const auto& c : changes) {
    auto changed = image;
    std::memcpy(changed.data() + c.offset, &c.value, c.bytes);
    EXPECT_FALSE(Layout(changed)) << c.offset;
  }
}

}  // namespace
