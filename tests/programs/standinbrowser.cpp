// Stands in for the user's web browser: records how it was started, one record
// per start, in the folder named by TARNWICK_BROWSER_RECORDS: the program's own
// path and its parameter text (the command line without the program).

#include "StandInRecord.h"

int wmain() {
  const std::wstring folder = StandIn::Variable(L"TARNWICK_BROWSER_RECORDS");
  if (folder.empty()) return 3;
  return StandIn::WriteRecord(folder, {Base::ProgramFilePath(), StandIn::ParameterText(true)}) ? 0 : 4;
}
