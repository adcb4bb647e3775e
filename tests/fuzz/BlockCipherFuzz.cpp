// The block's decryption and its padding check, with OpenSSL's AES as stubpack
// runs it on the block of a stub it inspects: a ciphertext is accepted only when
// it is the encryption of what it decrypts to.
#include "FuzzSupport.h"
#include "tools/stubpack/BlockCipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> cipher(data, data + size);
  const std::optional<std::string> plain = DecryptDocument(cipher);
  if (!plain) return 0;
  FUZZ_CHECK(size % 16 == 0 && plain->size() < size && plain->size() + 16 >= size);
  FUZZ_CHECK(EncryptDocument(*plain) == cipher);
  return 0;
}
