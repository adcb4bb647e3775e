#pragma once
// The name a download writes under until its body is complete: beside the
// target, "<target>.~<16 hex digits>.partial". The target's own name comes
// first, so the next download of the same name finds what a killed run left
// behind; the digits make each writer's name its own. No windows.h.

#include <cstdint>
#include <string>

namespace GenericStub {

// target + ".~" + tag as 16 lower-case hex digits + ".partial".
std::wstring PartialFileName(const std::wstring& target, std::uint64_t tag);

// The pattern that finds the partial files of target in its folder (the
// platform's wildcard rules): target + ".~*.partial".
std::wstring PartialFilePattern(const std::wstring& target);

// True when found, a file name without folder as a folder listing gives it,
// is exactly a partial file name of a target whose name (without folder) is
// targetName: anything else the pattern matches is not ours and stays.
bool IsPartialFileOf(const std::wstring& found, const std::wstring& targetName);

// The folder part of path with its trailing separator ("" for a bare name).
std::wstring FolderPartOf(const std::wstring& path);

}  // namespace GenericStub
