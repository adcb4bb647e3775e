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
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring folder = std::wstring(base) + L"tarnwick-log-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    return std::filesystem::path(ExecutionLog::DefaultPath());
  }();
  return path;
}

std::string ReadFrom(long long offset) {
  std::ifstream in(LogPath(), std::ios::binary);
  if (!in) return {};
  in.seekg(offset);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
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
  static const std::regex timestamp(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} )");
  return std::regex_replace(ReadFrom(start_), timestamp, "");
}
