#include "startup/MetadataBlock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PeImageBuilder.h"
#include "TempFolder.h"
#include "base/Handles.h"

using namespace Startup;

namespace {

// Ciphertexts made with the openssl command line, key "5c31d0e8a94f27b6":
//   printf '%s' DOC | openssl enc -aes-128-ecb -K 35633331643065386139346632376236 -base64 -A
const wchar_t kDocument[] = L"{\"productLang\":\"en-US\",\"requestType\":\"x\"}";
const wchar_t kDocumentCipher[] = L"b1dc03MCURmEkqixMV3W8udEf14u5lobjeFWKIgODreEAzD/EFEOwnqTQYEyffAK";
// "ab\0cd"
const wchar_t kZeroInsideCipher[] = L"rv1Esw3xy5pkVDGBtxbKaQ==";
// {"a":"b"} under the key "0123456789abcdef"; its last block is not valid padding under ours.
const wchar_t kWrongKeyCipher[] = L"6+zAUGssjhWjYq63NiVRKA==";
// The single block "0123456789abcdeX" without padding: 'X' is no pad length.
const wchar_t kBadPaddingCipher[] = L"QIB+Vhm6QBwOW9yQlEI3Ng==";
// The Windows-1252 bytes E9 80 ("é€").
const wchar_t kAnsiCipher[] = L"CHrDsSWP9+Dp57bNJWTVAg==";

const char kMarker[] = "{B2F2947D-EA42-43B8-8EB5-BB9FE4B236E2}";

std::vector<uint8_t> Image() {
  PeImageBuilder b;
  b.pe32Plus = true;
  b.sections = {{0x400, 0x200}, {0x600, 0x200}};
  return b.build();
}

class MetadataBlockTest : public ::testing::Test {
 protected:
  std::wstring write(const std::vector<uint8_t>& content) {
    const std::wstring path = folder_.path() + L"\\stub" + std::to_wstring(++count_) + L".exe";
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    return path;
  }
  std::wstring read(const std::vector<uint8_t>& content) {
    const Base::UniqueHandle file(OpenProgramFile(write(content)));
    return ReadEmbeddedBlockFrom(file.get());
  }
  TempFolder folder_;
  int count_ = 0;
};

// A packed and signed stub (the block, its marker, the signature's padding and
// certificate) is read and decrypted by every scenario that runs the stub, and
// a signed program without a block by the embedded block scenarios. That a file which is no PE image, or is
// cut short, has no block is the property of the PeLayoutFuzz target.
TEST_F(MetadataBlockTest, MarkerIsRemovedWhereverItStandsButNeverRequired) {
  EXPECT_EQ(read(Concat(Image(), "QU" + std::string(kMarker) + "JD" + kMarker)), L"QUJD");
  EXPECT_EQ(read(Concat(Image(), "QUJD")), L"QUJD");
  // A marker in another letter case is not the marker.
  std::string lower = kMarker;
  for (char& c : lower) c = static_cast<char>(tolower(c));
  EXPECT_EQ(read(Concat(Image(), lower)), std::wstring(lower.begin(), lower.end()));
}

// Start-up checks the signature and reads the block through one handle: while
// it is open nobody may write the file, and the read starts at the beginning
// wherever the check left the position.
TEST_F(MetadataBlockTest, TheOpenProgramFileCannotBeWrittenAndIsReadFromItsStart) {
  const std::wstring path = write(Concat(Image(), "QUJD" + std::string(kMarker)));
  const Base::UniqueHandle file(OpenProgramFile(path));
  ASSERT_TRUE(file);
  const Base::UniqueHandle writer(
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  LARGE_INTEGER middle{};
  middle.QuadPart = 0x500;
  ASSERT_TRUE(SetFilePointerEx(file.get(), middle, nullptr, FILE_BEGIN));
  EXPECT_EQ(ReadEmbeddedBlockFrom(file.get()), L"QUJD");
}

// A wrong key, bad padding and partial blocks give an empty text.
TEST_F(MetadataBlockTest, DecryptsADocumentMadeByOpensslUpToItsFirstZeroByteAndNothingElse) {
  EXPECT_EQ(DecryptMetadata(kDocumentCipher), kDocument);
  std::wstring wrapped = kDocumentCipher;  // line breaks in the block text are skipped
  wrapped.insert(40, L"\r\n");
  wrapped.insert(20, L" \n");
  EXPECT_EQ(DecryptMetadata(wrapped), kDocument);
  EXPECT_EQ(DecryptMetadata(kZeroInsideCipher), L"ab");
  std::wstring shortened = kDocumentCipher;
  shortened.resize(shortened.size() - 4);  // 45 bytes: not a multiple of 16
  for (const std::wstring& cipher : {std::wstring(kWrongKeyCipher), std::wstring(kBadPaddingCipher), shortened,
                                     std::wstring(), std::wstring(L"!!!!")}) {
    EXPECT_EQ(DecryptMetadata(cipher), L"") << std::string(cipher.begin(), cipher.end());
  }
}

TEST_F(MetadataBlockTest, PlaintextIsReadThroughTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page here is " << GetACP();
  EXPECT_EQ(DecryptMetadata(kAnsiCipher), L"\u00e9\u20ac");
}

}  // namespace
