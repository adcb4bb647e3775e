#include "actions/RarExtraction.h"

#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <rar.hpp>
#include <unrar_walk.hpp>

#include "actions/RelativeNames.h"
#include "actions/VerifiedFiles.h"

namespace GenericStub {
namespace {

class OpenArchive {
 public:
  OpenArchive(const std::wstring& name, int mode) {
    std::wstring buffer = name;
    RAROpenArchiveDataEx data = {};
    data.ArcNameW = buffer.data();
    data.OpenMode = static_cast<unsigned>(mode);
    handle_ = RAROpenArchiveEx(&data);
    result_ = handle_ == nullptr ? static_cast<int>(data.OpenResult) : ERAR_SUCCESS;
  }
  ~OpenArchive() {
    if (handle_ != nullptr) RARCloseArchive(handle_);
  }
  OpenArchive(const OpenArchive&) = delete;
  OpenArchive& operator=(const OpenArchive&) = delete;

  HANDLE get() const { return handle_; }
  int result() const { return result_; }

 private:
  HANDLE handle_ = nullptr;
  int result_ = ERAR_SUCCESS;
};

bool IsFatal(int result) {
  switch (result) {
    case ERAR_SUCCESS:
    case ERAR_END_ARCHIVE:
    case ERAR_BAD_DATA:        // damaged: what could be unpacked stays
    case ERAR_BAD_ARCHIVE:     // not an archive
    case ERAR_UNKNOWN_FORMAT:
    case ERAR_EOPEN:           // missing
    case ERAR_EREAD:
      return false;
    default:
      return true;
  }
}

RarExtractionResult Failed(int result) { return {result, IsFatal(result), {}, {}}; }

RarExtractionResult Refused(std::wstring what, std::wstring why) {
  return {ERAR_SUCCESS, false, std::move(what), std::move(why)};
}

// Why the entry must not be unpacked, or empty.
std::wstring EntryRefusal(const RARWalkHeader& header) {
  if (header.redirType != 0) return L"a link or a file copy";
  if (header.split) return L"a part of a multi-volume archive";
  return RelativeNameRefusal(header.name);
}

struct Listing {
  std::vector<RARWalkHeader> files;
  int result = ERAR_SUCCESS;  // how the listing ended: 0 complete, else damaged
  bool encrypted = false;
};

}  // namespace

RarExtractionResult ExtractRarArchive(HANDLE file, const std::wstring& archive, const std::wstring& folder,
                                      const std::optional<BlockFormat::CertificateTableSpan>& table,
                                      const std::function<void()>& prepareFolder) {
  const std::wstring name = FullFilePath(archive);
  Listing listing;
  {
    OpenArchive list(name, RAR_OM_LIST);
    if (list.get() == nullptr) return Failed(list.result());
    if (const int through = RARReadThrough(list.get(), file); through != ERAR_SUCCESS) return Failed(through);

    const auto header = std::make_unique<RARWalkHeader>();
    const wchar_t* lastFile = L"";
    for (;;) {
      const int result = RARReadAnyHeader(list.get(), header.get());
      if (result == ERAR_END_ARCHIVE) break;
      if (result != ERAR_SUCCESS) {
        if (IsFatal(result)) return Failed(result);
        listing.result = result;
        break;
      }
      if (header->kind == RAR_WALK_FILE) {
        const std::wstring why = EntryRefusal(*header);
        if (!why.empty()) return Refused(header->name, why);
        listing.encrypted = listing.encrypted || header->encrypted;
        listing.files.push_back(*header);
        lastFile = listing.files.back().name;
      } else if (header->kind == RAR_WALK_OLDSERVICE ||
                 (header->kind == RAR_WALK_SERVICE && std::wstring_view(header->name) == L"STM")) {
        return Refused(lastFile, L"an NTFS stream");
      }
    }
    int64_t start = 0, end = 0;
    RARArchiveSpan(list.get(), &start, &end);
    if (!BlockFormat::ArchiveLiesInSignedBytes(table, static_cast<uint64_t>(start), static_cast<uint64_t>(end))) {
      return Refused(archive, L"an archive outside the signed bytes of its file");
    }
  }
  if (listing.encrypted) return Failed(ERAR_MISSING_PASSWORD);
  prepareFolder();

  OpenArchive unpack(name, RAR_OM_EXTRACT);
  if (unpack.get() == nullptr) return Failed(unpack.result());
  if (const int through = RARReadThrough(unpack.get(), file); through != ERAR_SUCCESS) return Failed(through);
  std::wstring base = folder;
  const auto header = std::make_unique<RARHeaderDataEx>();
  for (const RARWalkHeader& entry : listing.files) {
    *header = RARHeaderDataEx();
    const int read = RARReadHeaderEx(unpack.get(), header.get());
    if (read == ERAR_END_ARCHIVE) break;
    if (read != ERAR_SUCCESS) return Failed(read);
    // The same bytes give the same headers; anything else is not what was judged.
    if (std::wstring_view(header->FileNameW) != entry.name) return Refused(header->FileNameW, L"a changed entry");

    std::wstring destination = PathBelow(folder, entry.name);
    // The folders on the way are ours too, so that UnRAR creates nothing by a name of its own.
    for (std::wstring::size_type separator = destination.find(L'\\', folder.size());
         separator != std::wstring::npos; separator = destination.find(L'\\', separator + 1)) {
      CreateDirectoryW(destination.substr(0, separator).c_str(), nullptr);
    }
    int result = ERAR_SUCCESS;
    if (entry.directory) {
      CreateDirectoryW(destination.c_str(), nullptr);
      result = RARProcessFileW(unpack.get(), RAR_SKIP, nullptr, nullptr);
    } else {
      result = RARProcessFileW(unpack.get(), RAR_EXTRACT, base.data(), destination.data());
    }
    if (result != ERAR_SUCCESS) {
      if (IsFatal(result)) return Failed(result);
      listing.result = result;
    }
  }
  return Failed(listing.result);
}

}  // namespace GenericStub
