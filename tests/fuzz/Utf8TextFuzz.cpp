// The UTF-8 and UTF-16 conversions: what converts one way
// converts back unchanged, and the lenient forms always give valid text.
#include "FuzzSupport.h"
#include "base/Utf8Text.h"

using namespace Base;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = Bytes(data, size);
  std::wstring wide;
  std::string narrow;
  if (Utf8ToWide(bytes, wide)) {
    FUZZ_CHECK(WideToUtf8(wide, narrow) && narrow == bytes);
    FUZZ_CHECK(Utf8ToWideLenient(bytes) == wide);
  }
  FUZZ_CHECK(WideToUtf8(Utf8ToWideLenient(bytes), narrow));

  const std::wstring units = Utf16Units(data, size);
  if (WideToUtf8(units, narrow)) {
    FUZZ_CHECK(Utf8ToWide(narrow, wide) && wide == units);
    FUZZ_CHECK(WideToUtf8Lenient(units) == narrow);
  }
  FUZZ_CHECK(Utf8ToWide(WideToUtf8Lenient(units), wide));
  return 0;
}
