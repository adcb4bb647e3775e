#include "blockformat/PeLayout.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

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

TEST(PeLayout, SecurityDirectoryEntryIsFoundForBothHeaderKinds) {
  for (const bool pe32Plus : {false, true}) {
    PeImageBuilder b;
    b.pe32Plus = pe32Plus;
    b.sections = {{0x400, 0x100}};
    const auto layout = Layout(b.build());
    ASSERT_TRUE(layout && layout->securityDirectoryOffset);
    EXPECT_EQ(*layout->securityDirectoryOffset, 0x80u + 24 + (pe32Plus ? 112 : 96) + 4 * 8);
  }
}

TEST(PeLayout, SecurityDirectoryEntryMustLieInsideTheOptionalHeaderAndItsDirectoryCount) {
  PeImageBuilder b;
  const auto image = b.build();
  constexpr size_t kOptional = 0x80 + 24;
  constexpr size_t kEntry = kOptional + 96 + 4 * 8;
  const auto withHeader = [&](uint16_t optionalSize, uint32_t directories) {
    auto changed = image;
    std::memcpy(changed.data() + 0x80 + 20, &optionalSize, 2);
    std::memcpy(changed.data() + kOptional + 92, &directories, 4);
    return ReadPeLayout(changed.data(), changed.size());
  };
  auto layout = withHeader(96 + 5 * 8, 5);
  ASSERT_TRUE(layout && layout->securityDirectoryOffset);
  EXPECT_EQ(*layout->securityDirectoryOffset, kEntry);
  layout = withHeader(96 + 5 * 8 - 1, 5);  // the entry's last byte outside the header
  ASSERT_TRUE(layout);
  EXPECT_FALSE(layout->securityDirectoryOffset);
  layout = withHeader(224, 4);  // only four directories: no security entry
  ASSERT_TRUE(layout);
  EXPECT_FALSE(layout->securityDirectoryOffset);
  layout = withHeader(95, 16);  // not even the directory count fits
  ASSERT_TRUE(layout);
  EXPECT_FALSE(layout->securityDirectoryOffset);
}

TEST(PeLayout, AgreesWithThePlatformHeadersOnARealProgramFile) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(file.size(), 1024u);

  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(file.data() + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  size_t expected = 0;
  DWORD largest = 0;
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
    if (section[i].PointerToRawData > largest) {
      largest = section[i].PointerToRawData;
      expected = size_t{section[i].PointerToRawData} + section[i].SizeOfRawData;
    }
  }
  const auto layout = ReadPeLayout(file.data(), file.size());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->sectionDataEnd, expected);
  ASSERT_TRUE(layout->securityDirectoryOffset);
  const auto* entry = &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
  EXPECT_EQ(*layout->securityDirectoryOffset,
            static_cast<size_t>(reinterpret_cast<const uint8_t*>(entry) - file.data()));
}

TEST(PeLayout, RejectsBuffersThatAreNotPeImages) {
  EXPECT_FALSE(ReadPeLayout(nullptr, 0));
  const std::vector<uint8_t> empty;
  EXPECT_FALSE(Layout(empty));
  std::vector<uint8_t> text(512, 'A');
  EXPECT_FALSE(Layout(text));

  PeImageBuilder b;
  b.sections = {{0x400, 0x100}};
  auto image = b.build();
  image[0x81] = 'X';  // "PX\0\0" is not the PE signature
  EXPECT_FALSE(Layout(image));
}

TEST(PeLayout, HostileHeadersPointingPastTheEndAreRejected) {
  PeImageBuilder farSignature;
  farSignature.sections = {{0x400, 0x100}};
  auto image = farSignature.build();
  for (uint32_t offset : {0x500u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
    std::memcpy(image.data() + 60, &offset, 4);
    EXPECT_FALSE(Layout(image)) << offset;
  }

  PeImageBuilder manySections;
  manySections.sections = {{0x400, 0x100}};
  manySections.sectionCountOverride = 0xFFFF;
  EXPECT_FALSE(Layout(manySections.build()));

  PeImageBuilder hugeOptionalHeader;
  hugeOptionalHeader.sections = {{0x400, 0x100}};
  image = hugeOptionalHeader.build();
  image[0x80 + 20] = 0xFF;  // optional header size 0xFFFF: the section table lies past the end
  image[0x80 + 21] = 0xFF;
  EXPECT_FALSE(Layout(image));

  PeImageBuilder sectionPastEnd;
  sectionPastEnd.sections = {{0x400, 0x100}};
  image = sectionPastEnd.build();
  const uint32_t hugeSize = 0xFFFFFF00u;
  std::memcpy(image.data() + 0x80 + 24 + 224 + 16, &hugeSize, 4);
  EXPECT_FALSE(Layout(image));
}

TEST(PeLayout, EveryTruncationOfAnImageIsHandled) {
  PeImageBuilder b;
  b.sections = {{0x400, 0x100}, {0x500, 0x100}};
  const auto image = Concat(b.build(), "QUJD");
  for (size_t size = 0; size < image.size(); ++size) {
    const auto layout = ReadPeLayout(image.data(), size);
    if (layout) {
      EXPECT_LE(layout->sectionDataEnd, size);
    }
    const std::string_view block = EmbeddedBlockBytes(image.data(), size);
    EXPECT_LE(block.size(), 4u);
  }
  EXPECT_EQ(EmbeddedBlockBytes(image.data(), image.size()), "QUJD");
}

TEST(PeLayout, BlockBytesEndAtTheFirstZeroByte) {
  PeImageBuilder b;
  b.sections = {{0x400, 0x100}};
  const std::string tail("text\0\0certificate", 17);
  const auto image = Concat(b.build(), tail);
  EXPECT_EQ(EmbeddedBlockBytes(image.data(), image.size()), "text");
  const auto bare = b.build();
  EXPECT_EQ(EmbeddedBlockBytes(bare.data(), bare.size()), "");
}

}  // namespace
