// blockprobe FILE [DOCUMENT_OUT]
// Runs the stub's own reading of FILE: prints the signature verdict as
// "verdict=XXXXXXXX" and writes the decrypted document, converted back through
// the ANSI code page, to DOCUMENT_OUT.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/AnsiText.h"
#include "startup/MetadataBlock.h"
#include "base/SignatureCheck.h"

using namespace Base;
using namespace Startup;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: blockprobe FILE [DOCUMENT_OUT]\n");
    return 2;
  }
  const LONG verdict = VerifyFileSignature(argv[1]);
  const std::wstring block = ReadEmbeddedBlock(argv[1]);
  const std::wstring document = DecryptMetadata(block);
  std::printf("verdict=%08lx\nblock=%zu\ndocument=%zu\n", static_cast<unsigned long>(verdict),
              block.size(), document.size());
  if (argc > 2 && !(std::ofstream(argv[2], std::ios::binary) << WideToAnsi(document))) return 1;
  return 0;
}
