// Stands in for a product installer: records how it was started and exits
// with the code it is told. The record goes to the folder named by
// TARNWICK_INSTALLER_RECORDS: the program's own path, its parameter text (the
// command line without the program; one blank separates them, whatever follows
// is theirs), its current folder and then its arguments as CommandLineToArgvW
// splits them, one a line. TARNWICK_INSTALLER_EXIT gives the exit code
// (decimal or 0x hexadecimal; 0 when absent).

#include "StandInRecord.h"

#include <shellapi.h>

#include <cwchar>

int wmain() {
  const std::wstring folder = StandIn::Variable(L"TARNWICK_INSTALLER_RECORDS");
  if (!folder.empty()) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    std::vector<std::wstring> lines{Base::ProgramFilePath(), StandIn::ParameterText(false), current};
    int count = 0;
    const Base::LocalArgv argv(CommandLineToArgvW(GetCommandLineW(), &count));
    if (argv) lines.insert(lines.end(), argv.get() + 1, argv.get() + count);
    StandIn::WriteRecord(folder, lines);
  }
  ExitProcess(static_cast<UINT>(std::wcstoul(StandIn::Variable(L"TARNWICK_INSTALLER_EXIT").c_str(), nullptr, 0)));
}
