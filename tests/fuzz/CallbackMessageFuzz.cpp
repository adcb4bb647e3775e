// A callback message read the way the main window reads it: the JSON text, its
// class name and a downloader's progress, which becomes the status line and the
// bar's position. Each failure it may raise is one the worker's top answers.
#include <stdexcept>

#include "FuzzSupport.h"
#include "base/AnsiText.h"
#include "ui/StatusText.h"
#include "workflow/JsonText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<Json::Value> message = GenericStub::ParseJsonText(Base::AnsiToWide(Bytes(data, size)));
  if (!message) return 0;
  try {
    if ((*message)["className"].asString() != "class GenericStub::CDownloader") return 0;
    const float percent = Ui::ParseProgressPercent((*message)["content"]["progress"].asString());
    const std::wstring status = Ui::FormatStatusText(L"Downloading ... %.2f%%", {}, percent);
    FUZZ_CHECK(status.size() >= 20 && status.back() == L'%');
    const int position = Ui::PositionOfPercent(percent);
    if (percent >= 0.0f && percent <= 100.0f) FUZZ_CHECK(position >= 0 && position <= 100);
  } catch (const Json::LogicError&) {
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  return 0;
}
