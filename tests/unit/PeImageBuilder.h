#pragma once
// Builds small synthetic PE images for tests, byte by byte, so that headers can
// be made as odd or hostile as a test needs: the DOS header points to the PE
// header at 0x80, the optional header follows at 0x98.

#include <cstdint>
#include <string>
#include <vector>

struct TestSection {
  uint32_t rawOffset;
  uint32_t rawSize;
};

struct PeImageBuilder {
  bool pe32Plus = false;              // 64-bit optional header (240 bytes) instead of 224
  std::vector<TestSection> sections;  // in table order

  // The headers, then zeros up to the end of the furthest section.
  std::vector<uint8_t> build() const;
};

std::vector<uint8_t> Concat(std::vector<uint8_t> image, const std::string& tail);
