#include "ui/StringTableBlock.h"

namespace Ui {

namespace {

unsigned ReadUnit(const unsigned char* bytes) { return bytes[0] | static_cast<unsigned>(bytes[1]) << 8; }

}  // namespace

std::wstring StringFromTableBlock(const void* data, std::size_t size, unsigned index) {
  if (data == nullptr || index > 15) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t offset = 0;
  for (unsigned entry = 0;; ++entry) {
    if (offset > size || size - offset < 2) return {};
    const std::size_t length = ReadUnit(bytes + offset);
    offset += 2;
    if (length * 2 > size - offset) return {};
    if (entry == index) {
      std::wstring text(length, L'\0');
      for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(ReadUnit(bytes + offset + 2 * i));
      return text;
    }
    offset += length * 2;
  }
}

}  // namespace Ui
