#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "download/ResumeRecord.h"
#include "download/ResumeRules.h"

namespace GenericStub {
namespace {

constexpr wchar_t kDate[] = L"Sun, 06 Nov 1994 08:49:37 GMT";

TEST(ResumeRules, AStrongTagOrADateWithByteRangesOnly) {
  struct {
    const wchar_t* etag;
    const wchar_t* lastModified;
    const wchar_t* acceptRanges;
    std::optional<std::wstring> validator;
  } const cases[] = {
      {L"\"a1\"", kDate, L"bytes", L"\"a1\""},  // the tag before the date
      {L"", kDate, L"none, Bytes", kDate},
      {L"W/\"a1\"", kDate, L"bytes", std::nullopt},  // a weak tag: no date instead either
      {L"a1", L"", L"bytes", std::nullopt},          // unquoted
      {L"\"a\"b\"", L"", L"bytes", std::nullopt},
      {L"\"a1\"\r\nX: 1", L"", L"bytes", std::nullopt},  // would inject a header
      {L"", L"Sun, 06 Nov 1994\r\nX: 1", L"bytes", std::nullopt},
      {L"", L"", L"bytes", std::nullopt},
      {L"\"a1\"", kDate, L"", std::nullopt},
      {L"\"a1\"", kDate, L"none", std::nullopt},
      {L"\"a1\"", kDate, L"bytesx", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResumeValidator(c.etag, c.lastModified, c.acceptRanges), c.validator) << c.etag << c.lastModified;
  }
  EXPECT_TRUE(IsValidatorText(L"\"" + std::wstring(254, L'x') + L"\""));
  EXPECT_FALSE(IsValidatorText(L"\"" + std::wstring(255, L'x') + L"\""));
  EXPECT_FALSE(IsValidatorText(std::wstring(65, L'x')));
}

TEST(ResumeRules, TheRestIsAskedForAndOnlyItsExactRangeContinuesTheFile) {
  EXPECT_EQ(RangeRequestHeaders(5368709120ULL, L"\"a1\""), L"Range: bytes=5368709120-\r\nIf-Range: \"a1\"\r\n");
  EXPECT_TRUE(ContinuesBody(L"bytes 50000-99999/100000", 50000, 100000));
  EXPECT_TRUE(ContinuesBody(L"BYTES 1-1/2", 1, 2));
  for (const wchar_t* other :
       {L"bytes 49999-99999/100000", L"bytes 50000-99998/100000", L"bytes 50000-99999/100001", L"bytes 50000-99999/*",
        L"bytes */100000", L"bytes  50000-99999/100000", L"bytes 50000-99999/100000 ", L"bytes 50000-99999",
        L"items 50000-99999/100000", L"bytes -50000-99999/100000", L""}) {
    EXPECT_FALSE(ContinuesBody(other, 50000, 100000)) << other;
  }
  EXPECT_FALSE(ContinuesBody(L"bytes 0-0/1", 0, 0));
}

TEST(ResumeRecord, WrittenAndReadBackExactlyAndNothingElseIsRead) {
  const ResumeRecord record{L"http://localhost:8080/d\u00e9j\u00e0/p.bin?a=1", 100000, L"\"a1\""};
  const std::optional<std::string> text = FormatResumeRecord(record);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "tarnwick-resume 1\nhttp://localhost:8080/d\xc3\xa9j\xc3\xa0/p.bin?a=1\n100000\n\"a1\"\n");
  const std::optional<ResumeRecord> back = ParseResumeRecord(*text);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tie(back->url, back->length, back->validator), std::tie(record.url, record.length, record.validator));

  const std::string url = "tarnwick-resume 1\nhttp://h/p\n";
  const char withNul[] = "tarnwick-resume 1\nhttp://h/\0\n1\n\"a1\"\n";
  for (const std::string& bad : std::initializer_list<std::string>{
           std::string(), url + "100000\n\"a1\"", url + "100000\n\"a1\"\n\n", url + "100000\r\n\"a1\"\n",
           url + "0\n\"a1\"\n", url + "+1\n\"a1\"\n", url + "18446744073709551616\n\"a1\"\n", url + "1\nW/\"a1\"\n",
           "tarnwick-resume 2\nhttp://h/p\n1\n\"a1\"\n", "tarnwick-resume 1\n\n1\n\"a1\"\n",
           "tarnwick-resume 1\nhttp://h/\xff\n1\n\"a1\"\n", "tarnwick-resume 1\nhttp://h/\t\n1\n\"a1\"\n",
           std::string(withNul, sizeof withNul - 1), url + "1\n\"" + std::string(kMaxResumeRecordSize, 'x') + "\"\n"}) {
    EXPECT_FALSE(ParseResumeRecord(bad)) << bad;
  }
  for (const ResumeRecord& unwritable :
       {ResumeRecord{L"http://h/p\n", 1, L"\"a1\""}, ResumeRecord{L"", 1, L"\"a1\""},
        ResumeRecord{L"http://h/p", 0, L"\"a1\""}, ResumeRecord{L"http://h/\xd800", 1, L"\"a1\""},
        ResumeRecord{std::wstring(kMaxResumeRecordSize, L'h'), 1, L"\"a1\""}}) {
    EXPECT_FALSE(FormatResumeRecord(unwritable)) << unwritable.url.substr(0, 20);
  }
}

}  // namespace
}  // namespace GenericStub
