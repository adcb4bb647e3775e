#include "tools/stubpack/BlockCipher.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

#include "blockformat/BlockFormat.h"

namespace {

struct ContextFreer {
  void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, ContextFreer>;

// Runs one whole encryption or decryption; false when OpenSSL refuses the input.
bool Transform(bool encrypt, const uint8_t* input, size_t size, std::vector<uint8_t>& output) {
  CipherContext context(EVP_CIPHER_CTX_new());
  if (!context ||
      EVP_CipherInit_ex(context.get(), EVP_aes_128_ecb(), nullptr, BlockFormat::kKey, nullptr,
                        encrypt ? 1 : 0) != 1) {
    throw std::runtime_error("cannot set up AES-128-ECB");
  }
  output.assign(size + 16, 0);
  int written = 0;
  int last = 0;
  if (EVP_CipherUpdate(context.get(), output.data(), &written, input, static_cast<int>(size)) != 1 ||
      EVP_CipherFinal_ex(context.get(), output.data() + written, &last) != 1) {
    return false;
  }
  output.resize(static_cast<size_t>(written + last));
  return true;
}

}  // namespace

std::vector<uint8_t> EncryptDocument(const std::string& document) {
  std::vector<uint8_t> cipher;
  if (!Transform(true, reinterpret_cast<const uint8_t*>(document.data()), document.size(), cipher)) {
    throw std::runtime_error("AES encryption failed");
  }
  return cipher;
}

std::optional<std::string> DecryptDocument(const std::vector<uint8_t>& cipher) {
  if (cipher.empty() || cipher.size() % 16 != 0) return std::nullopt;
  std::vector<uint8_t> plain;
  if (!Transform(false, cipher.data(), cipher.size(), plain)) return std::nullopt;
  return std::string(plain.begin(), plain.end());
}
