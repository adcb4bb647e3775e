#include "actions/RarExtraction.h"

#include <windows.h>

#include <memory>
#include <new>
#include <vector>

#include <rar.hpp>

namespace GenericStub {
namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

// The archive name as UnRAR must get it to open exactly that file: made
// absolute, so that a name beginning with "-", "/" or "@" is never read as a
// switch or a list file; and a name without extension ends in ".", which
// Windows ignores, where UnRAR would otherwise open "<name>.rar" instead.
std::wstring ArchiveArgument(const std::wstring& path) {
  std::wstring full = FullPath(path);
  const std::wstring::size_type name = full.find_last_of(L"\\/:");
  if (full.find(L'.', name == std::wstring::npos ? 0 : name + 1) == std::wstring::npos) full += L'.';
  return full;
}

}  // namespace

RarExtractionResult ExtractRarArchive(const std::wstring& archive, const std::wstring& folder) {
  // Without its final "\" UnRAR would read the folder as a name filter and
  // unpack into the current folder.
  std::wstring destination = folder;
  if (destination.empty() || destination.back() != L'\\') destination += L'\\';
  std::vector<std::wstring> args = {L"x", L"-y", L"-inul", ArchiveArgument(archive), destination};

  RarExtractionResult result;
  ErrHandler.Clean();
  // Silent, as the console front end is under -y or -inul: read and write
  // errors are not turned into questions. A question that is still asked (a
  // password) ends the extraction instead of reading the console.
  ErrHandler.SetSilent(true);
  ProhibitConsoleInput();
  try {
    // The console front end's passes without the configuration reading that
    // it does between them (ReadConfig, ParseEnvVar).
    auto command = std::make_unique<CommandData>();  // large: not on the worker's stack
    for (const std::wstring& arg : args) command->PreprocessArg(arg.c_str());
    // The switches-only pass keeps the command word for the configuration; the
    // full pass must find it empty, or it reads "x" as the archive name.
    command->Command[0] = 0;
    for (std::wstring& arg : args) command->ParseArg(arg.data());
    command->ParseDone();
    command->ProcessCommand();
  } catch (RAR_EXIT code) {
    return {static_cast<int>(code), true};
  } catch (const std::bad_alloc&) {
    return {static_cast<int>(RARX_MEMORY), true};
  }
  result.exitCode = static_cast<int>(ErrHandler.GetErrorCode());
  return result;
}

}  // namespace GenericStub
