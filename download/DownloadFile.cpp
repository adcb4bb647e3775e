#include "download/DownloadFile.h"

#include <windows.h>

#include <utility>

#include "base/ExecutionLog.h"

namespace GenericStub {

using Base::LogError;

DownloadFile::DownloadFile(std::wstring path) : path_(std::move(path)) {
  file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) {
    LogError(L"Error in CreateFile [%s], GetLastError() = [%d].\n", path_.c_str(), static_cast<int>(GetLastError()));
  }
}

DownloadFile::~DownloadFile() {
  if (!file_) return;
  file_.reset();
  DeleteFileW(path_.c_str());
}

bool DownloadFile::write(const std::uint8_t* bytes, std::uint32_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes, size, &written, nullptr) || written == 0) {
      LogError(L"Error in WriteFile [%s], GetLastError() = [%d].\n", path_.c_str(), static_cast<int>(GetLastError()));
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool DownloadFile::keep() {
  if (CloseHandle(file_.release())) return true;
  LogError(L"Error in CloseHandle [%s], GetLastError() = [%d].\n", path_.c_str(), static_cast<int>(GetLastError()));
  DeleteFileW(path_.c_str());
  return false;
}

}  // namespace GenericStub
