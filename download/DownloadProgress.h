#pragma once
// How a download's body is read and its progress measured and told to the
// window. Counts are 64-bit, so bodies of 4 GiB and more are counted right.

#include <cstdint>
#include <optional>
#include <string>

namespace GenericStub {

// The least a read asks for while the body has more. WinHTTP offers the body
// in chunks of a few KiB; each read costs a call, a write and a progress
// message, so reading blocks of 64 KiB sends fewer of them, and the window
// still moves often enough to look smooth.
inline constexpr std::uint32_t kReadBlockBytes = 64 * 1024;

// How many bytes to ask the next read for, when WinHTTP says `available` are
// ready (more than 0): a whole read block, or all that is ready when it is
// more, but no more than the rest of a body of known length.
std::uint32_t ReadSize(std::uint32_t available, std::uint64_t received, std::optional<std::uint64_t> contentLength);

// The Content-Length header's text as a byte count: decimal digits only,
// without sign or blanks, and no more than 64 bits hold. Anything else is no
// length at all.
std::optional<std::uint64_t> ParseContentLength(const std::wstring& text);

// The percentage of the body received, 0 to 100. Nothing when the length is
// unknown: a percentage of an unknown whole would mislead the window. A body
// announced as empty is complete at once.
std::optional<double> ProgressPercent(std::uint64_t received, std::optional<std::uint64_t> contentLength);

// The content of a progress message: {"progress":"42.57"}.
std::wstring ProgressContent(double percent);

// The content of a message of a body without a known length, told while it
// arrives: {"received":"8192"}, the bytes so far.
std::wstring ReceivedContent(std::uint64_t received);

}  // namespace GenericStub
