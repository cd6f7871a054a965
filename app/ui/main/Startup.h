#pragma once
// The program's run from start to end: start-up tables and help state,
// loading screen, singletons, main window, event loop, then everything
// freed in order. Returns the exit status: 0 after a normal close,
// non-zero when start-up failed (the failure is logged and shown first).
//
// The environment variable CB_QUIT_AFTER_MS=<n> closes the main window
// (through its normal close) and any start-up message n ms after they show;
// it serves unattended runs.
//
// The switch "--startup-time" measures the start: once the grid has painted
// for the first time the program prints "Start to first painted grid: N ms"
// (from the process's start) on standard output and closes. Without a grid
// to paint it prints why and ends with status 2.
#include <string>
#include <vector>

namespace cb::app {

int RunApplication(int& argc, char** argv);

// Milliseconds since the process started (from the kernel's start time).
double MillisecondsSinceProcessStart();

}  // namespace cb::app
