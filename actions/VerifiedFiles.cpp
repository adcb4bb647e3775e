#include "actions/VerifiedFiles.h"

#include <map>
#include <utility>

namespace GenericStub {
namespace {

std::wstring Key(const std::wstring& path) {
  std::wstring key = FullFilePath(path);
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

// Destroyed at process exit, after the run: the files stay open until then.
std::map<std::wstring, Base::UniqueHandle>& Kept() {
  static std::map<std::wstring, Base::UniqueHandle> files;
  return files;
}

}  // namespace

std::wstring FullFilePath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (path.empty() || size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

Base::UniqueHandle OpenFileForUse(const std::wstring& path) {
  return Base::UniqueHandle(CreateFileW(FullFilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void KeepVerifiedFile(const std::wstring& path, Base::UniqueHandle file) {
  Kept()[Key(path)] = std::move(file);
}

HANDLE FindVerifiedFile(const std::wstring& path) {
  const auto found = Kept().find(Key(path));
  return found == Kept().end() ? nullptr : found->second.get();
}

std::vector<uint8_t> ReadFileBytes(HANDLE file, uint64_t offset, DWORD size) {
  std::vector<uint8_t> bytes(size);
  LARGE_INTEGER position = {};
  position.QuadPart = static_cast<LONGLONG>(offset);
  DWORD total = 0;
  if (SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
    DWORD read = 0;
    while (total < size && ReadFile(file, bytes.data() + total, size - total, &read, nullptr) && read != 0) {
      total += read;
    }
  }
  bytes.resize(total);
  return bytes;
}

std::optional<BlockFormat::CertificateTableSpan> CertificateTableOf(HANDLE file) {
  constexpr DWORD kHeaderBytes = 4096;
  const std::vector<uint8_t> headers = ReadFileBytes(file, 0, kHeaderBytes);
  return BlockFormat::ReadCertificateTableSpan(headers.data(), headers.size());
}

}  // namespace GenericStub
