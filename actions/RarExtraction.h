#pragma once
// Unpacking of a RAR archive through UnRAR's library interface, with our own
// checks in front of it: every header is read and judged before the first byte
// is written, and each file goes to a name that we computed.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "blockformat/CertificateTable.h"

namespace GenericStub {

struct RarExtractionResult {
  int result = 0;      // UnRAR's library result: 0, or ERAR_* (12 damaged data, 13 not an archive, 15 not opened)
  bool fatal = false;  // unpacking could not go on as it should: a failed write or creation, memory, a password
  std::wstring refused;  // when not empty: the entry (or the archive) that is refused; nothing was written
  std::wstring reason;   // why it is refused
};

// Unpacks the archive that file (open for reading; its name archive) holds
// into folder (full path, ending in "\"). All of UnRAR's reading goes through
// file. The archive is refused whole, before anything is written, when an
// entry's name is not a plain name inside the folder (RelativeNameRefusal),
// when an entry is a link of any kind or a file copy, continues another
// volume, or carries an NTFS stream, and when the archive does not lie in the
// signed bytes of a PE file (table: its certificate table). A damaged archive
// gives what could be unpacked and its result; encrypted entries are fatal
// (there is nobody to ask for a password). prepareFolder is called once the
// archive has passed every check, before the first byte is written (it makes
// the folder and may throw); an archive that is refused, fatal or cannot be
// opened never reaches it.
//
// UnRAR keeps global state: one extraction at a time.
RarExtractionResult ExtractRarArchive(HANDLE file, const std::wstring& archive, const std::wstring& folder,
                                      const std::optional<BlockFormat::CertificateTableSpan>& table,
                                      const std::function<void()>& prepareFolder);

}  // namespace GenericStub
