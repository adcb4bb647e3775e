#include "blockformat/PeLayout.h"
#include "blockformat/CertificateTable.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(PeLayout, BlockBytesEndAtTheFirstZeroByte) {
  PeImageBuilder b;
  b.sections = {{0x400, 0x100}};
  const std::string tail("text\0\0certificate", 17);
  const auto image = Concat(b.build(), tail);
  EXPECT_EQ(EmbeddedBlockBytes(image.data(), image.size()), "text");
  const auto bare = b.build();
  EXPECT_EQ(EmbeddedBlockBytes(bare.data(), bare.size()), "");
}

// The security directory gives the table's file offset and size.
TEST(CertificateTable, SpanComesFromTheSecurityDirectory) {
  PeImageBuilder b;
  auto image = b.build();
  constexpr size_t kEntry = 0x80 + 24 + 96 + 4 * 8;
  const uint32_t span[2] = {0x1200, 0x5a8};
  std::memcpy(image.data() + kEntry, span, sizeof span);
  auto table = ReadCertificateTableSpan(image.data(), image.size());
  ASSERT_TRUE(table);
  EXPECT_EQ(table->offset, 0x1200u);
  EXPECT_EQ(table->size, 0x5a8u);
  EXPECT_FALSE(ReadCertificateTableSpan(image.data(), 0x90));  // headers cut short
  EXPECT_FALSE(ReadCertificateTableSpan(reinterpret_cast<const uint8_t*>("Rar!\x1a\x07\x01\x00"), 8));
}

// One WIN_CERTIFICATE: length, revision 0x0200, type 2, then the DER signature.
std::vector<uint8_t> Table(size_t derContent, size_t padding, uint8_t padByte = 0, bool lengthCoversPadding = true) {
  std::vector<uint8_t> der = {0x30, 0x82, static_cast<uint8_t>(derContent >> 8), static_cast<uint8_t>(derContent)};
  der.resize(der.size() + derContent, 0x5a);
  const uint32_t length = static_cast<uint32_t>(8 + der.size() + (lengthCoversPadding ? padding : 0));
  std::vector<uint8_t> table(8 + der.size() + padding, padByte);
  std::memcpy(table.data(), &length, 4);
  const uint8_t revisionAndType[4] = {0x00, 0x02, 0x02, 0x00};
  std::memcpy(table.data() + 4, revisionAndType, 4);
  std::copy(der.begin(), der.end(), table.begin() + 8);
  return table;
}

TEST(CertificateTable, OnlyZeroPaddingToEightBytesMayFollowTheSignature) {
  using C = CertificateTableContent;
  const struct {
    std::vector<uint8_t> table;
    C content;
  } cases[] = {
      {Table(1000, 4), C::kSignatureOnly},            // 8 + 4 + 1000 = 1012, padded to 1016
      {Table(1000, 0), C::kSignatureOnly},            // not padded at all
      {Table(1000, 4, 0, false), C::kSignatureOnly},  // padding outside the entry's length
      {Table(1000, 12), C::kExtraBytes},              // more than the padding to 8 bytes
      {Table(1000, 4, 0x52), C::kExtraBytes},         // padding that is not zero
      {Table(1000, 4096), C::kExtraBytes},            // an archive appended in the table
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyCertificateTable(c.table.data(), c.table.size()), c.content) << c.table.size();
  }
  auto table = Table(1000, 4);
  table[8] = 0x31;  // no DER sequence
  EXPECT_EQ(ClassifyCertificateTable(table.data(), table.size()), C::kMalformed);
  table = Table(1000, 4);
  table[11] = 0xff;  // a DER length past the entry
  EXPECT_EQ(ClassifyCertificateTable(table.data(), table.size()), C::kMalformed);
  EXPECT_EQ(ClassifyCertificateTable(table.data(), 7), C::kMalformed);
}

TEST(CertificateTable, AnArchiveMustLieBeforeTheTable) {
  const std::optional<CertificateTableSpan> table = CertificateTableSpan{0x8000, 0x600};
  EXPECT_TRUE(ArchiveLiesInSignedBytes(table, 0x5000, 0x8000));
  EXPECT_FALSE(ArchiveLiesInSignedBytes(table, 0x5000, 0x8001));  // ends inside the table
  EXPECT_FALSE(ArchiveLiesInSignedBytes(table, 0x8010, 0x8400));  // starts inside it
  EXPECT_FALSE(ArchiveLiesInSignedBytes(table, 0x9000, 0x9400));  // past its start
  EXPECT_TRUE(ArchiveLiesInSignedBytes(std::nullopt, 0, 0x9400));  // not a PE file
  EXPECT_TRUE(ArchiveLiesInSignedBytes(CertificateTableSpan{}, 0x400, 0x9400));  // unsigned PE file
}

}  // namespace
