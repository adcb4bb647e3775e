#include "blockformat/CertificateTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "PeImageBuilder.h"

using namespace BlockFormat;

namespace {

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
