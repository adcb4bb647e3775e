#pragma once
// The files that the executable verifier accepted in this run, each held open
// from the check until the process ends. The handle was opened with read
// access and only read sharing, so nobody can write, rename or delete the file
// meanwhile: what a later action unpacks is what was verified, read through
// this same handle. The ValueStore carries texts; this carries the open file
// that a published name stands for. Used by the worker thread only.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "blockformat/CertificateTable.h"

namespace GenericStub {

// The full path of path (GetFullPathNameW), the key under which a file is kept;
// path itself when it cannot be made full.
std::wstring FullFilePath(const std::wstring& path);

// Opens path for reading as an existing file, sharing read access only; an
// invalid handle when that fails (the file is missing, or someone holds it
// open for writing).
Base::UniqueHandle OpenFileForUse(const std::wstring& path);

// Keeps file open for the rest of the run as the verified bytes of path. A file
// kept earlier under the same full path is closed.
void KeepVerifiedFile(const std::wstring& path, Base::UniqueHandle file);

// The verified file kept for path (compared as full paths, without regard to
// letter case), or null.
HANDLE FindVerifiedFile(const std::wstring& path);

// Up to size bytes of file from offset on (fewer at its end or on a failed read).
std::vector<uint8_t> ReadFileBytes(HANDLE file, uint64_t offset, DWORD size);

// The certificate table of file when it is a PE file (see
// BlockFormat::ReadCertificateTableSpan), read from its headers.
std::optional<BlockFormat::CertificateTableSpan> CertificateTableOf(HANDLE file);

}  // namespace GenericStub
