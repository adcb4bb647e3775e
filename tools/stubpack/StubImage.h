#pragma once
// Putting a metadata document into a stub, and reading it back by the stub's
// own rules.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct PackError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The stub cut at the end of its last section's raw data (so an earlier block,
// its padding and a certificate table are dropped), with the security directory
// entry cleared, followed by base64(AES(document)), the marker and zero bytes up
// to the next multiple of 8 (at least one), with the image checksum brought up
// to date. The result is ready to sign.
// Throws PackError when the stub is not a PE image.
std::vector<uint8_t> PackStub(const std::vector<uint8_t>& stub, const std::string& document);

// The document that the stub would read from file: the text after the last
// section up to the first zero byte, markers removed, base64-decoded and
// decrypted, up to its first zero byte. Throws PackError when there is none.
std::string ReadPackedDocument(const std::vector<uint8_t>& file);
