// UnRAR's library interface with the additions of unrar_walk.hpp, which need
// its private DataSet.
#include "dll.cpp"

#include "unrar_walk.hpp"

namespace {

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first = {}, second = {};
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

int RARReadThrough(HANDLE archive, HANDLE file) {
  DataSet* data = static_cast<DataSet*>(archive);
  if (!SameFile(data->Arc.GetHandle(), file)) return ERAR_EREFERENCE;
  HANDLE duplicate = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &duplicate, GENERIC_READ, FALSE, 0)) {
    return ERAR_EOPEN;
  }
  // A duplicate shares the file position: UnRAR goes on where it stood.
  const int64 position = data->Arc.Tell();
  data->Arc.SetHandle(duplicate);
  data->Arc.Seek(position, SEEK_SET);
  return ERAR_SUCCESS;
}

int RARReadAnyHeader(HANDLE archive, RARWalkHeader* header) {
  DataSet* data = static_cast<DataSet*>(archive);
  Archive& arc = data->Arc;
  try {
    *header = RARWalkHeader();
    if (arc.ReadHeader() == 0) {
      if (arc.FailedHeaderDecryption) return ERAR_MISSING_PASSWORD;
      return arc.BrokenHeader ? ERAR_BAD_DATA : ERAR_END_ARCHIVE;
    }
    const HEADER_TYPE type = arc.GetHeaderType();
    if (type == HEAD_ENDARC) return ERAR_END_ARCHIVE;
    if (type == HEAD_FILE) {
      const FileHeader& file = arc.FileHead;
      header->kind = RAR_WALK_FILE;
      wcsncpyz(header->name, file.FileName, ASIZE(header->name));
      header->directory = file.Dir;
      header->encrypted = file.Encrypted;
      header->split = file.SplitBefore || file.SplitAfter;
      header->redirType = file.RedirType;
    } else if (type == HEAD_SERVICE) {
      header->kind = RAR_WALK_SERVICE;
      wcsncpyz(header->name, arc.SubHead.FileName, ASIZE(header->name));
      header->encrypted = arc.SubHead.Encrypted;
    } else if (type == HEAD3_OLDSERVICE) {
      header->kind = RAR_WALK_OLDSERVICE;
    }
    arc.SeekToNext();
    return ERAR_SUCCESS;
  } catch (RAR_EXIT code) {
    return data->Cmd.DllError != 0 ? data->Cmd.DllError : RarErrorToDll(code);
  } catch (std::bad_alloc&) {
    return ERAR_NO_MEMORY;
  }
}

void RARArchiveSpan(HANDLE archive, int64_t* start, int64_t* end) {
  DataSet* data = static_cast<DataSet*>(archive);
  *start = static_cast<int64_t>(data->Arc.SFXSize);
  *end = data->Arc.NextBlockPos;
}
