#pragma once
// The names a download writes under until its body is complete: beside the
// target, the partial file "<target>.~<16 hex digits>.partial" and the record
// of how its body could be continued, "<target>.~<the same digits>.resume"
// (ResumeRecord). The target's own name comes first, so the next download of
// the same name finds what a killed run left behind; the digits make each
// writer's names its own. No windows.h.

#include <cstdint>
#include <optional>
#include <string>

namespace GenericStub {

// target + ".~" + tag as 16 lower-case hex digits + ".partial".
std::wstring PartialFileName(const std::wstring& target, std::uint64_t tag);
// The same with ".resume" instead of ".partial".
std::wstring ResumeRecordName(const std::wstring& target, std::uint64_t tag);

// The pattern that finds the partial files and records of target in its
// folder (the platform's wildcard rules): target + ".~*".
std::wstring PartialFilePattern(const std::wstring& target);

struct LeftoverName {
  std::uint64_t tag = 0;
  bool record = false;  // a record, else a partial file
};

// What found, a file name without folder as a folder listing gives it, is
// when it is exactly a partial file or record name of a target whose name
// (without folder) is targetName; nothing otherwise: anything else the
// pattern matches is not ours and stays.
std::optional<LeftoverName> ParseLeftoverName(const std::wstring& found, const std::wstring& targetName);

// The folder part of path with its trailing separator ("" for a bare name).
std::wstring FolderPartOf(const std::wstring& path);

}  // namespace GenericStub
