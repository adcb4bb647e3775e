// Additions to UnRAR's library interface (dll.cpp), compiled into the same
// library: what the caller needs to check an archive before anything of it is
// written. Plain C++ over UnRAR's own types; the caller includes this only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dll.hpp"

enum RARWalkKind {
  RAR_WALK_FILE = 1,     // a file or folder entry
  RAR_WALK_SERVICE = 2,  // a service header that belongs to the entry before it
  RAR_WALK_OLDSERVICE = 3,  // a RAR 2.x extra block (streams, access lists)
};

struct RARWalkHeader {
  int kind = 0;
  wchar_t name[2048] = {};  // the entry's name as UnRAR would use it, or the service header's type
  bool directory = false;
  bool encrypted = false;
  bool split = false;  // continues from or into another volume
  int redirType = 0;   // FSREDIR_*: 0 for none, else a link or a file copy
};

// Makes the archive that RAROpenArchiveEx opened read through a duplicate of
// file, when UnRAR's own handle is the same file (volume and file index); from
// then on every byte UnRAR reads comes through that handle. ERAR_EREFERENCE
// when they are different files, ERAR_EOPEN when file cannot be duplicated.
int RARReadThrough(HANDLE archive, HANDLE file);

// The next header of any kind after the one read last (RAROpenArchiveEx in
// RAR_OM_LIST mode leaves the archive before its first header): 0 and the
// header's facts, ERAR_END_ARCHIVE at the end-of-archive header or the end of
// the file, ERAR_BAD_DATA on a damaged header, ERAR_MISSING_PASSWORD for
// encrypted headers. A UnRAR exit raised meanwhile is returned as its
// library result.
int RARReadAnyHeader(HANDLE archive, RARWalkHeader* header);

// Where the archive begins in its file (after a self-extractor head) and
// where the last header read by RARReadAnyHeader ends.
void RARArchiveSpan(HANDLE archive, int64_t* start, int64_t* end);
