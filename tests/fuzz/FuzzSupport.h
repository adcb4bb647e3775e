#pragma once
// What the fuzz targets share: reading input bytes as the program's texts, and
// checking a property of the result.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Pairs of bytes as UTF-16 code units, least significant first: any wide text
// that Windows can hand over, lone surrogates included. A last odd byte is dropped.
inline std::wstring Utf16Units(const uint8_t* data, size_t size) {
  std::wstring units;
  for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  return units;
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A property that does not hold is a finding, like a crash: libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                        \
  do {                                                               \
    if (!(condition)) {                                              \
      std::fprintf(stderr, "property does not hold: %s\n", #condition); \
      std::abort();                                                  \
    }                                                                \
  } while (false)
