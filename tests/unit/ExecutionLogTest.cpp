#include "base/ExecutionLog.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

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

class ExecutionLogTest : public ::testing::Test {
 protected:
  std::wstring path() const { return folder_.path() + L"\\Orvakel-TarnwickGUI-execution.log"; }
  TempFolder folder_;
};

TEST_F(ExecutionLogTest, LineHasLocalTimestampLevelEndsInCrLfAndIsOnDiskAtOnce) {
  const time_t before = time(nullptr);
  ExecutionLog log(path());
  EXPECT_TRUE(Write(log, L"INFO", L"Begin to run Tarnwick\n"));
  EXPECT_TRUE(Write(log, L"ERROR", L"Error occurred, error code = [%d].\n", 2));
  const std::string content = ReadBytes(path());  // while the log is still open
  const std::regex line(R"((\d{4}-\d{2}-\d{2})T\d{2}:\d{2}:\d{2} INFO:: Begin to run Tarnwick\r\n)"
                        R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} ERROR:: Error occurred, error code = \[2\]\.\r\n)");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(content, match, line)) << content;

  const time_t after = time(nullptr);
  char today[16] = {};
  char todayAfter[16] = {};
  strftime(today, sizeof today, "%Y-%m-%d", localtime(&before));
  strftime(todayAfter, sizeof todayAfter, "%Y-%m-%d", localtime(&after));
  EXPECT_TRUE(match[1] == today || match[1] == todayAfter);
}

TEST_F(ExecutionLogTest, EachRunAppendsToTheLogOfTheRunsBefore) {
  for (int run = 1; run <= 2; ++run) {
    ExecutionLog log(path());
    Write(log, L"INFO", L"run %d\n", run);
  }
  const std::string content = ReadBytes(path());
  EXPECT_TRUE(std::regex_match(content, std::regex(R"(\S+ INFO:: run 1\r\n\S+ INFO:: run 2\r\n)"))) << content;
}

TEST_F(ExecutionLogTest, ArgumentsAreFormattedAsTheMessagesExpect) {
  {
    ExecutionLog log(path());
    Write(log, L"INFO", L"Path = [%s], value [%x], code [%d], unsigned [%u], progress %.2f\n",
          L"C:\\50% off\\%s%d.exe", 0x800B0100u, -1, 4000000000u, 37.254);
  }
  const std::string content = ReadBytes(path());
  EXPECT_NE(content.find("INFO:: Path = [C:\\50% off\\%s%d.exe], value [800b0100], code [-1], "
                         "unsigned [4000000000], progress 37.25\r\n"),
            std::string::npos)
      << content;
}

TEST_F(ExecutionLogTest, ALogThatCannotBeOpenedWritesNothingAndDoesNotFail) {
  ExecutionLog missingFolder(folder_.path() + L"\\no such folder\\x.log");
  EXPECT_FALSE(Write(missingFolder, L"INFO", L"lost\n"));
  ExecutionLog noPath(L"");
  EXPECT_FALSE(Write(noPath, L"ERROR", L"lost\n"));
}

}  // namespace
