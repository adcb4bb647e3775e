#include "startup/MetadataBlock.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "base/AnsiText.h"
#include "base/Handles.h"
#include "blockformat/Base64.h"
#include "blockformat/BlockFormat.h"
#include "blockformat/PeLayout.h"

namespace Startup {
namespace {

// A PE image cannot be larger than 4 GB; refusing larger files keeps a hostile
// file from making the stub allocate without bound.
constexpr LONGLONG kMaxProgramFileSize = 0xFFFFFFFFLL;

bool ReadWholeFile(HANDLE file, ByteBuffer& content) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart > kMaxProgramFileSize) return false;
  try {
    content.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return false;
  }
  size_t done = 0;
  while (done < content.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
    if (!ReadFile(file, content.data() + done, chunk, &read, nullptr) || read == 0) break;
    done += read;
  }
  content.resize(done);
  return true;
}

void RemoveEvery(std::wstring& text, const std::wstring& marker) {
  for (size_t at = text.find(marker); at != std::wstring::npos; at = text.find(marker, at)) {
    text.erase(at, marker.size());
  }
}

using Base::AnsiToWide;
using Base::HeapBlock;
using Base::WideToAnsi;

HeapBlock HeapAllocate(size_t size) {
  return HeapBlock(static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size)));
}

bool Failed(NTSTATUS status, const char* call) {
  if (BCRYPT_SUCCESS(status)) return false;
  std::printf("**** Error 0x%lx returned by %s\n", static_cast<unsigned long>(status), call);
  return true;
}

}  // namespace

HANDLE OpenProgramFile(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

std::wstring ReadEmbeddedBlockFrom(HANDLE file) {
  ByteBuffer content;
  if (!ReadWholeFile(file, content)) return {};
  std::wstring text = AnsiToWide(BlockFormat::EmbeddedBlockBytes(content.data(), content.size()));
  RemoveEvery(text, BlockFormat::kMarkerWide);
  return text;
}

bool DecodeBase64(const std::wstring& text, ByteBuffer& out) {
  out.clear();
  if (text.empty()) return false;
  return BlockFormat::DecodeBase64Text(WideToAnsi(text), text.size(), out);
}

std::wstring DecryptMetadata(const std::wstring& blockText) {
  ByteBuffer cipher;
  if (!DecodeBase64(blockText, cipher)) {
    std::printf("**** Fail to get encrypted bytes from base64-ed string\n");
    return {};
  }

  Base::BCryptAlgorithm algorithm;
  if (Failed(BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_AES_ALGORITHM, nullptr, 0),
             "BCryptOpenAlgorithmProvider")) {
    return {};
  }

  DWORD objectLength = 0;
  ULONG written = 0;
  if (Failed(BCryptGetProperty(algorithm.get(), BCRYPT_OBJECT_LENGTH,
                               reinterpret_cast<PUCHAR>(&objectLength), sizeof objectLength,
                               &written, 0),
             "BCryptGetProperty")) {
    return {};
  }
  const HeapBlock keyObject = HeapAllocate(objectLength);
  if (!keyObject) {
    std::printf("**** memory allocation failed\n");
    return {};
  }
  if (Failed(BCryptSetProperty(algorithm.get(), BCRYPT_CHAINING_MODE,
                               reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_ECB)),
                               sizeof BCRYPT_CHAIN_MODE_ECB, 0),
             "BCryptSetProperty")) {
    return {};
  }
  Base::BCryptKey key;
  if (Failed(BCryptGenerateSymmetricKey(algorithm.get(), key.receive(), keyObject.get(), objectLength,
                                        const_cast<PUCHAR>(BlockFormat::kKey),
                                        sizeof BlockFormat::kKey, 0),
             "BCryptGenerateSymmetricKey")) {
    return {};
  }

  ULONG plainLength = 0;
  const ULONG cipherLength = static_cast<ULONG>(cipher.size());
  if (Failed(BCryptDecrypt(key.get(), cipher.data(), cipherLength, nullptr, nullptr, 0, nullptr, 0,
                           &plainLength, BCRYPT_BLOCK_PADDING),
             "BCryptDecrypt")) {
    return {};
  }
  const HeapBlock plain = HeapAllocate(size_t{plainLength} + 1);
  if (!plain) {
    std::printf("**** memory allocation failed\n");
    return {};
  }
  if (Failed(BCryptDecrypt(key.get(), cipher.data(), cipherLength, nullptr, nullptr, 0, plain.get(),
                           plainLength, &plainLength, BCRYPT_BLOCK_PADDING),
             "BCryptDecrypt")) {
    return {};
  }
  plain.get()[plainLength] = 0;
  return AnsiToWide(std::string_view(reinterpret_cast<const char*>(plain.get()), plainLength));
}

}  // namespace Startup
