#include "base/ExecutionLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TempFolder.h"

using namespace Base;

namespace {

bool Write(ExecutionLog& log, const wchar_t* level, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const bool written = log.write(level, format, args);
  va_end(args);
  return written;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The line format (time stamp, level, CR LF) and lines on disk at once are
// read by the execution log scenario; appending to the runs before by every
// scenario that runs the stub (it reads the log from its size before the run).
TEST(ExecutionLogTest, ArgumentsAreFormattedAsTheMessagesExpect) {
  const TempFolder folder;
  const std::wstring path = folder.path() + L"\\Orvakel-TarnwickGUI-execution.log";
  {
    ExecutionLog log(path);
    Write(log, L"INFO", L"Path = [%s], value [%x], code [%d], unsigned [%u], progress %.2f\n",
          L"C:\\50% off\\%s%d.exe", 0x800B0100u, -1, 4000000000u, 37.254);
  }
  const std::string content = ReadBytes(path);
  EXPECT_NE(content.find("INFO:: Path = [C:\\50% off\\%s%d.exe], value [800b0100], code [-1], "
                         "unsigned [4000000000], progress 37.25\r\n"),
            std::string::npos)
      << content;
}

TEST(ExecutionLogTest, ALogThatCannotBeOpenedWritesNothingAndDoesNotFail) {
  const TempFolder folder;
  ExecutionLog missingFolder(folder.path() + L"\\no such folder\\x.log");
  EXPECT_FALSE(Write(missingFolder, L"INFO", L"lost\n"));
  ExecutionLog noPath(L"");
  EXPECT_FALSE(Write(noPath, L"ERROR", L"lost\n"));
}

}  // namespace
