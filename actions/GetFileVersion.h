#pragma once

#include <string>

namespace GenericStub {

// The file version of the file at path from its fixed version record, as
// "major.minor.build.revision" in decimal; empty when the file is missing or
// has no readable version record.
std::wstring GetFileVersion(const std::wstring& path);

}  // namespace GenericStub
