// The token functions that the program exports. Expected tokens were computed
// apart from this code, with Python's hashlib:
//   d1 = md5(struct.pack("<I", expiry & 0xffffffff) + path + additional + key)
//   token = md5(key + d1.digest()).hexdigest()

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "download/UrlAuth.h"

namespace {

constexpr std::int64_t kStart = 1700000000;
constexpr std::int64_t kThirtyDays = 2592000;

// An expiry beyond the 64-bit range is held at its limit: the UrlTokenTextFuzz
// target's property.
TEST(UrlTokenDigest, MatchesTheReference) {
  const char highKey[] = {'\x80', '\xff', '\xe9', 'A', '\0'};
  const struct {
    const char* path;
    std::int64_t start, lifetime;
    const char *key, *additional, *token;
  } cases[] = {
      {"/files/setup.exe", kStart, kThirtyDays, "secret", nullptr, "c2c5a639501571619893f211debc1567"},
      // The additional text enters between path and key.
      {"/files/setup.exe", kStart, kThirtyDays, "secret", "extra", "87b3d0e80f20376a303eed99e73dc9dd"},
      // Key bytes above ASCII are hashed as they are.
      {"/files/setup.exe", kStart, kThirtyDays, highKey, nullptr, "63ea7182461cbd335736b626e1e11142"},
      // Only the low 32 bits of the expiry are hashed, least significant byte first.
      {"/x", 5, 0, "secret", nullptr, "6ca37a5b6d919e33d8cc188a517e812e"},
      {"/x", 0x100000000LL + 5, 0, "secret", nullptr, "6ca37a5b6d919e33d8cc188a517e812e"},
  };
  for (const auto& c : cases) {
    std::int64_t expiry = -1;
    char* token = nullptr;
    EXPECT_EQ(urlauth_gen_token(c.path, c.start, c.lifetime, c.key, c.additional, &expiry, &token), 0);
    EXPECT_EQ(expiry, c.start + c.lifetime);
    EXPECT_STREQ(token, c.token) << c.path << " " << c.start;
    std::free(token);
  }
}

TEST(UrlTokenArguments, MissingOrEmptyInputsHaveTheirOwnStatusAndACallersBufferReceivesTheResult) {
  char* token = nullptr;
  std::int64_t expiry = 0;
  EXPECT_EQ(urlauth_gen_token(nullptr, kStart, 1, "k", nullptr, &expiry, &token), -1);
  EXPECT_EQ(urlauth_gen_token("", kStart, 1, "k", nullptr, &expiry, &token), -2);
  EXPECT_EQ(urlauth_gen_token("/a", kStart, 1, nullptr, nullptr, &expiry, &token), -3);
  EXPECT_EQ(urlauth_gen_token("/a", kStart, 1, "", nullptr, &expiry, &token), -4);
  EXPECT_EQ(urlauth_gen_token("/a", kStart, 1, "k", nullptr, &expiry, nullptr), -6);
  EXPECT_EQ(token, nullptr);
  // A caller may pass a buffer of the documented size for the token or the URL; expiry is optional.
  char buffer[40];
  std::memset(buffer, 'x', sizeof buffer);
  token = buffer;
  EXPECT_EQ(urlauth_gen_token("/files/setup.exe", kStart, kThirtyDays, "secret", nullptr, nullptr, &token), 0);
  EXPECT_EQ(token, buffer);
  EXPECT_STREQ(buffer, "c2c5a639501571619893f211debc1567");
  EXPECT_EQ(buffer[33], 'x') << "only the 33 bytes of the token are written";
  const char* url = "/media/video.mp4";
  std::string urlBuffer(std::strlen(url) + std::strlen("__gda__") + 56, '\x7f');
  char* out = urlBuffer.data();
  ASSERT_EQ(urlauth_gen_URL(url, kStart, 3600, "secret", nullptr, nullptr, nullptr, &out), 0);
  EXPECT_STREQ(urlBuffer.c_str(), "/media/video.mp4?__gda__=1700003600_5d0899c0a3b4e36fa544fe4974973e50");
}

std::string SignedUrl(const char* url, const char* name, std::int64_t* expiry = nullptr, int* status = nullptr) {
  char* out = nullptr;
  const int result = urlauth_gen_URL(url, kStart, 3600, "secret", nullptr, name, expiry, &out);
  if (status != nullptr) *status = result;
  std::string text = out != nullptr ? out : "";
  std::free(out);
  return text;
}

TEST(UrlTokenGenUrl, AppendsNameExpiryAndTokenWithTheRightSeparatorOrGivesTheStatusOfABadInput) {
  std::int64_t expiry = 0;
  EXPECT_EQ(SignedUrl("/media/video.mp4", nullptr, &expiry),
            "/media/video.mp4?__gda__=1700003600_5d0899c0a3b4e36fa544fe4974973e50");
  EXPECT_EQ(expiry, kStart + 3600);
  const std::string withQuery = SignedUrl("/media/video.mp4?q=1", "token");
  EXPECT_EQ(withQuery.rfind("/media/video.mp4?q=1&token=1700003600_", 0), 0u) << withQuery;
  EXPECT_EQ(withQuery.size(), std::strlen("/media/video.mp4?q=1&token=1700003600_") + 32);
  // A parameter name needs five to twelve characters; a failure of the token is passed on.
  int status = 0;
  for (const char* name : {"abcd", "abcdefghijklm"}) {
    SignedUrl("/a", name, nullptr, &status);
    EXPECT_EQ(status, -101) << name;
  }
  EXPECT_FALSE(SignedUrl("/a", "abcdefghijkl", nullptr, &status).empty());
  EXPECT_EQ(status, 0);
  char* out = nullptr;
  EXPECT_EQ(urlauth_gen_URL("/a", kStart, 1, "", nullptr, nullptr, nullptr, &out), -4);
  EXPECT_EQ(out, nullptr);
}

}  // namespace
