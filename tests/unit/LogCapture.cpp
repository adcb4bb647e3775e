#include "LogCapture.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "base/ExecutionLog.h"

using namespace Base;

namespace {

const std::filesystem::path& LogPath() {
  static const std::filesystem::path path = [] {
    const std::wstring folder =
        (std::filesystem::temp_directory_path() / ("tarnwick-log-" + std::to_string(GetCurrentProcessId()))).wstring();
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    return std::filesystem::path(ExecutionLog::DefaultPath());
  }();
  return path;
}

}  // namespace

LogCapture::LogCapture() {
  LogPath();
  ExecutionLog::Instance();
  std::error_code error;
  const auto size = std::filesystem::file_size(LogPath(), error);
  start_ = error ? 0 : static_cast<long long>(size);
}

std::string LogCapture::text() const {
  // A missing log reads as empty: the stream then yields nothing.
  std::ifstream in(LogPath(), std::ios::binary);
  in.seekg(start_);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  static const std::regex timestampOrCarriageReturn(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} |\r(?=\n))");
  return std::regex_replace(bytes, timestampOrCarriageReturn, "");
}
