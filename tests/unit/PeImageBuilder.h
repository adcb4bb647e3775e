#pragma once
// Builds small synthetic PE images for tests, byte by byte, so that headers can
// be made as odd or hostile as a test needs.

#include <cstdint>
#include <string>
#include <vector>

struct TestSection {
  uint32_t rawOffset;
  uint32_t rawSize;
};

struct PeImageBuilder {
  bool pe32Plus = false;               // 64-bit optional header (240 bytes) instead of 224
  uint32_t peOffset = 0x80;            // e_lfanew
  std::vector<TestSection> sections;   // in table order
  uint32_t sectionCountOverride = 0;   // when non-zero, written instead of sections.size()

  // The headers, then section data filled with 0xCC up to the end of the
  // furthest section.
  std::vector<uint8_t> build() const;
};

std::vector<uint8_t> Concat(std::vector<uint8_t> image, const std::string& tail);
