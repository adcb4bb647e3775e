#pragma once
// Reads what the process-wide execution log receives during a test. The first
// capture of a test program moves %TEMP% to a private folder before anything
// is logged, so the program's log is its own and not the shared one.

#include <string>

class LogCapture {
 public:
  LogCapture();  // starts at the log's current end
  // What was written since construction, with CR LF turned into "\n" and the
  // timestamps taken out: "INFO:: Provided = [].\n".
  std::string text() const;

 private:
  long long start_ = 0;
};
