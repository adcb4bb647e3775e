#pragma once
// Reading the metadata block that the release engineer appended to the stub
// (see BlockFormat.h). None of these functions logs: every failure gives an
// empty text; DecryptMetadata prints its failures on the standard output,
// which a windowed process does not show.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Startup {

using ByteBuffer = std::vector<uint8_t>;

// The program file at path opened for reading, sharing read access only, so
// that nobody can change it while it is open; INVALID_HANDLE_VALUE on failure.
// The caller owns the handle.
HANDLE OpenProgramFile(const std::wstring& path);

// The block text of the open program file, read from its start, every
// occurrence of the marker removed, converted through the thread's ANSI code
// page. Empty when the file cannot be read, is not a PE image, or has nothing
// after its last section.
std::wstring ReadEmbeddedBlockFrom(HANDLE file);

// Decodes base64 text (skipping characters outside the alphabet) into out.
// False for an empty text.
bool DecodeBase64(const std::wstring& text, ByteBuffer& out);

// Decodes and decrypts a block text into the metadata document. Empty on any failure.
std::wstring DecryptMetadata(const std::wstring& blockText);

}  // namespace Startup
