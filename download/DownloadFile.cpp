#include "download/DownloadFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
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

// The paths of the partial file and the record of one tag, empty when the folder has none.
struct Leftover {
  std::wstring partial;
  std::wstring record;
};

std::map<std::uint64_t, Leftover> FindLeftovers(const std::wstring& target) {
  std::map<std::uint64_t, Leftover> leftovers;
  const std::wstring folder = FolderPartOf(target);
  const std::wstring targetName = target.substr(folder.size());
  WIN32_FIND_DATAW found = {};
  const Base::FindHandle search(FindFirstFileW(PartialFilePattern(target).c_str(), &found));
  if (!search) return leftovers;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::optional<LeftoverName> name = ParseLeftoverName(found.cFileName, targetName);
    if (!name) continue;
    Leftover& leftover = leftovers[name->tag];
    (name->record ? leftover.record : leftover.partial) = folder + found.cFileName;
  } while (FindNextFileW(search.get(), &found));
  return leftovers;
}

// Others can write the folder: a name that leads elsewhere (a link, a
// reparse point) is not a file of ours, and is neither read nor continued.
Base::UniqueHandle OpenOwnFile(const std::wstring& path, DWORD access) {
  Base::UniqueHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!file || !GetFileInformationByHandle(file.get(), &info) || info.nNumberOfLinks != 1 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return {};
  }
  return file;
}

std::optional<ResumeRecord> ReadRecord(const std::wstring& path) {
  const Base::UniqueHandle file = OpenOwnFile(path, GENERIC_READ);
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > kMaxResumeRecordSize) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
    return std::nullopt;
  }
  return ParseResumeRecord(bytes);
}

}  // namespace

DownloadFile::DownloadFile(std::wstring target, const std::wstring& url, std::optional<Catalog::Sha256Digest> pin)
    : target_(std::move(target)), pin_(pin) {
  if (pin_) hasher_.emplace();
  for (const auto& [tag, leftover] : FindLeftovers(target_)) {
    if (pin_ && !file_ && !leftover.partial.empty() && !leftover.record.empty() &&
        takeOver(leftover.partial, leftover.record, url)) {
      continue;
    }
    // Best effort: a partial file that another running download still holds
    // open (it is opened without delete sharing) cannot be removed and stays,
    // with its record. The record goes after its partial file: a run killed
    // in between leaves a record alone, which the next run removes.
    if (!leftover.partial.empty()) {
      if (!DeleteFileW(leftover.partial.c_str())) continue;
      LogInfo(L"Removed the partial file [%s] of an earlier download.\n", leftover.partial.c_str());
    }
    if (!leftover.record.empty()) DeleteFileW(leftover.record.c_str());
  }
  if (!file_) create();
}

bool DownloadFile::takeOver(const std::wstring& partial, const std::wstring& recordPath, const std::wstring& url) {
  std::optional<ResumeRecord> record = ReadRecord(recordPath);
  if (!record || record->url != url) return false;
  // Read access too: continuing a body may mean reading its start again.
  Base::UniqueHandle file = OpenOwnFile(partial, GENERIC_READ | GENERIC_WRITE);
  LARGE_INTEGER size = {};
  const LARGE_INTEGER zero = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<std::uint64_t>(size.QuadPart) >= record->length ||
      !SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) {
    return false;
  }
  file_ = std::move(file);
  partial_ = partial;
  recordPath_ = recordPath;
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  record_ = std::move(record);
  LogInfo(L"Found the partial file [%s] of an earlier download with [%I64u] of [%I64u] bytes.\n", partial_.c_str(),
          static_cast<unsigned long long>(size_), static_cast<unsigned long long>(record_->length));
  return true;
}

void DownloadFile::create() {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kNameAttempts && error == ERROR_FILE_EXISTS; ++attempt) {
    const std::uint64_t tag = NextTag();
    partial_ = PartialFileName(target_, tag);
    recordPath_ = ResumeRecordName(target_, tag);
    // Read sharing only: nobody writes into the body or removes it while it arrives.
    file_.reset(CreateFileW(partial_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
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
  DeleteFileW(recordPath_.c_str());
}

const ResumeRecord* DownloadFile::continuable() const {
  return file_ && record_ && size_ > 0 && size_ < record_->length ? &*record_ : nullptr;
}

bool DownloadFile::write(const std::uint8_t* bytes, std::uint32_t size) {
  if (hasher_) {
    if (!hasher_->add(bytes, size)) return false;
    hashed_ += size;
  }
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes, size, &written, nullptr) || written == 0) {
      LogError(L"Error in WriteFile [%s], GetLastError() = [%d].\n", partial_.c_str(),
               static_cast<int>(GetLastError()));
      return false;
    }
    bytes += written;
    size -= written;
    size_ += written;
  }
  return true;
}

bool DownloadFile::restart() {
  if (!continueAt(0)) return false;
  setRecord(std::nullopt);
  return true;
}

void DownloadFile::setRecord(const std::optional<ResumeRecord>& record) {
  record_ = record;
  // Removed first, so that a name someone else made in the meantime (a link
  // to another file) is never written through.
  DeleteFileW(recordPath_.c_str());
  const std::optional<std::string> text = record ? FormatResumeRecord(*record) : std::nullopt;
  if (!text) return;
  const Base::UniqueHandle file(
      CreateFileW(recordPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), text->data(), static_cast<DWORD>(text->size()), &written, nullptr) ||
      written != text->size()) {
    LogInfo(L"Could not write [%s], GetLastError() = [%d]: a killed download starts again from zero.\n",
            recordPath_.c_str(), static_cast<int>(GetLastError()));
  }
}

bool DownloadFile::continueAt(std::uint64_t offset) {
  if (hasher_ && hashed_ != offset && !hashPrefix(offset)) return false;
  LARGE_INTEGER at = {};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (offset <= size_ && SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get())) {
    size_ = offset;
    return true;
  }
  LogError(L"Error in SetEndOfFile [%s], GetLastError() = [%d].\n", partial_.c_str(), static_cast<int>(GetLastError()));
  return false;
}

bool DownloadFile::hashPrefix(std::uint64_t size) {
  hashed_ = 0;
  if (!hasher_->restart()) return false;
  const LARGE_INTEGER start = {};
  if (size > size_ || !SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return false;
  std::vector<std::uint8_t> buffer(64 * 1024);
  while (hashed_ < size) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::uint64_t>(size - hashed_, buffer.size()));
    if (!ReadFile(file_.get(), buffer.data(), wanted, &read, nullptr) || read == 0) {
      LogError(L"Error in ReadFile [%s], GetLastError() = [%d].\n", partial_.c_str(), static_cast<int>(GetLastError()));
      return false;
    }
    if (!hasher_->add(buffer.data(), read)) return false;
    hashed_ += read;
  }
  return true;
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
    DeleteFileW(recordPath_.c_str());
    return false;
  }
  const bool closed = CloseHandle(file_.release()) != FALSE;
  if (!closed) {
    LogError(L"Error in CloseHandle [%s], GetLastError() = [%d].\n", partial_.c_str(),
             static_cast<int>(GetLastError()));
  } else if (MoveFileExW(partial_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(recordPath_.c_str());
    return true;
  } else {
    LogError(L"Error in MoveFileEx [%s] to [%s], GetLastError() = [%d].\n", partial_.c_str(), target_.c_str(),
             static_cast<int>(GetLastError()));
  }
  DeleteFileW(partial_.c_str());
  DeleteFileW(recordPath_.c_str());
  return false;
}

}  // namespace GenericStub
