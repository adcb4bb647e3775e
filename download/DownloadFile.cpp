#include "download/DownloadFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

#include "base/ExecutionLog.h"
#include "download/PartialFileName.h"

namespace GenericStub {

using Base::LogError;
using Base::LogInfo;

namespace {

constexpr int kNameAttempts = 16;

// Process id and a per-process count: no two writers of one machine pick the
// same name at the same time, and CREATE_NEW catches anything else.
std::uint64_t NextTag() {
  static std::atomic<std::uint32_t> gCount{0};
  return (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) | gCount.fetch_add(1);
}

// Best effort: a partial file that another running download still holds open
// (it is opened without delete sharing) cannot be removed and stays.
void RemoveLeftovers(const std::wstring& target) {
  const std::wstring folder = FolderPartOf(target);
  const std::wstring targetName = target.substr(folder.size());
  WIN32_FIND_DATAW found = {};
  const Base::FindHandle search(FindFirstFileW(PartialFilePattern(target).c_str(), &found));
  if (!search) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (!IsPartialFileOf(found.cFileName, targetName)) continue;
    const std::wstring leftover = folder + found.cFileName;
    if (DeleteFileW(leftover.c_str())) {
      LogInfo(L"Removed the partial file [%s] of an earlier download.\n", leftover.c_str());
    }
  } while (FindNextFileW(search.get(), &found));
}

}  // namespace

DownloadFile::DownloadFile(std::wstring target, std::optional<Catalog::Sha256Digest> pin)
    : target_(std::move(target)), pin_(pin) {
  if (pin_) hasher_.emplace();
  RemoveLeftovers(target_);
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kNameAttempts && error == ERROR_FILE_EXISTS; ++attempt) {
    partial_ = PartialFileName(target_, NextTag());
    // Read sharing only: nobody writes into the body or removes it while it arrives.
    file_.reset(CreateFileW(partial_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    error = file_ ? ERROR_SUCCESS : GetLastError();
  }
  if (!file_) {
    LogError(L"Error in CreateFile [%s], GetLastError() = [%d].\n", partial_.c_str(), static_cast<int>(error));
  }
}

DownloadFile::~DownloadFile() {
  if (!file_) return;
  file_.reset();
  DeleteFileW(partial_.c_str());
}

bool DownloadFile::write(const std::uint8_t* bytes, std::uint32_t size) {
  if (hasher_ && !hasher_->add(bytes, size)) return false;
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes, size, &written, nullptr) || written == 0) {
      LogError(L"Error in WriteFile [%s], GetLastError() = [%d].\n", partial_.c_str(),
               static_cast<int>(GetLastError()));
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool DownloadFile::restart() {
  if (hasher_) hasher_->restart();
  LARGE_INTEGER start = {};
  if (SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get())) return true;
  LogError(L"Error in SetEndOfFile [%s], GetLastError() = [%d].\n", partial_.c_str(), static_cast<int>(GetLastError()));
  return false;
}

bool DownloadFile::hashExisting(std::uint64_t size) {
  if (!hasher_) return true;
  hasher_->restart();
  // A handle of its own for reading: ours writes, and shares reading only, so
  // nobody else changes the bytes between this read and the check.
  const Base::UniqueHandle reader(CreateFileW(partial_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<std::uint8_t> buffer(64 * 1024);
  while (reader && size > 0) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::uint64_t>(size, buffer.size()));
    if (!ReadFile(reader.get(), buffer.data(), wanted, &read, nullptr) || read == 0) break;
    if (!hasher_->add(buffer.data(), read)) return false;
    size -= read;
  }
  if (size == 0) return true;
  LogError(L"Error in ReadFile [%s], GetLastError() = [%d].\n", partial_.c_str(), static_cast<int>(GetLastError()));
  return false;
}

bool DownloadFile::matchesPin() {
  const std::optional<Catalog::Sha256Digest> received = hasher_->finish();
  if (!received) {
    LogError(L"The SHA-256 of [%s] could not be computed.\n", target_.c_str());
    return false;
  }
  const std::wstring expectedText = Catalog::Sha256Text(*pin_);
  if (*received == *pin_) {
    LogInfo(L"The SHA-256 of [%s] matches the pinned [%s].\n", target_.c_str(), expectedText.c_str());
    return true;
  }
  LogError(L"SHA-256 mismatch for [%s]: expected [%s], received [%s].\n", target_.c_str(), expectedText.c_str(),
           Catalog::Sha256Text(*received).c_str());
  return false;
}

bool DownloadFile::keep() {
  if (pin_ && !matchesPin()) {
    file_.reset();
    DeleteFileW(partial_.c_str());
    return false;
  }
  const bool closed = CloseHandle(file_.release()) != FALSE;
  if (!closed) {
    LogError(L"Error in CloseHandle [%s], GetLastError() = [%d].\n", partial_.c_str(),
             static_cast<int>(GetLastError()));
  } else if (MoveFileExW(partial_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  } else {
    LogError(L"Error in MoveFileEx [%s] to [%s], GetLastError() = [%d].\n", partial_.c_str(), target_.c_str(),
             static_cast<int>(GetLastError()));
  }
  DeleteFileW(partial_.c_str());
  return false;
}

}  // namespace GenericStub
