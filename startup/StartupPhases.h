#pragma once
// Timestamps of the phases of start-up, for the time-to-window benchmark
// (scripts/bench-window.py). Marking a phase only reads the performance
// counter into a table; the table is written out only when the benchmark asks
// for it with the environment variable TARNWICK_PHASE_TIMES, so a run without
// it behaves exactly as one of a build without the marks.

namespace Startup {

enum class StartupPhase {
  kEntry,       // wWinMain reached (only its end is marked)
  kDllSearch,   // the DLL search restricted to System32
  kBanner,      // program folder, banner, action classes and switches
  kGraphics,    // the graphics library started
  kSignature,   // the program file's signature checked
  kBlock,       // the embedded block read and decrypted
  kWindow,      // the main window created, hidden
  kVerdict,     // the UI thread waiting for the signature's verdict and the document
  kShow,        // the main window shown
  kFirstPaint,  // the shown window painted
  kCount
};

void MarkPhaseBegin(StartupPhase phase);
void MarkPhaseEnd(StartupPhase phase);

// With TARNWICK_PHASE_TIMES set in the environment, writes the marks to the
// standard output: "phase-frequency=<counts per second>", one line
// "phase=<name> <begin> <end>" per phase (performance-counter values, 0 for a
// mark not taken), then "phase-done". Without it, does nothing.
void ReportPhases();

}  // namespace Startup
