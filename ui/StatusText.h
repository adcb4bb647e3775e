#pragma once
// Text rules of the main window's status line and failure display.

#include <optional>
#include <string>

namespace Ui {

// format with each "%s" replaced by text, each "%.2f" by number with two
// decimals and each "%%" by "%" (the placeholders of the status strings);
// anything else is kept as it stands.
std::wstring FormatStatusText(const std::wstring& format, const std::wstring& text, double number = 0.0);

// The failure code of an error text: its leading decimal number (after white
// space and an optional sign), 0 when it does not start with one.
int FailureCodeOf(const std::string& errorText);

// The percentage of a progress message, converted as the standard stof does.
// Throws std::invalid_argument("invalid stof argument") when the text holds no
// number and std::out_of_range("stof argument out of range") when it is beyond
// the float range: the failure display shows those messages.
float ParseProgressPercent(const std::string& text);

// The progress text of a callback message in the one form the downloader
// sends, {"className":"class GenericStub::CDownloader","content":{"progress":"TEXT"}},
// where TEXT is printable ASCII without '"' or a backslash (nothing to unescape or
// convert); nothing for any other message, which is read as JSON instead. For
// the messages it accepts, reading them as JSON gives the same text.
std::optional<std::string> PlainProgressText(const std::wstring& message);

// The bar position of a percentage: truncated toward zero; a value that is not
// a number gives 0 and one beyond the int range the nearest int, where a plain
// conversion would be undefined.
int PositionOfPercent(float percent);

}  // namespace Ui
