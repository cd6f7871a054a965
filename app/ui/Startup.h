#pragma once
// The program's run from start to end: loading screen, singletons, main
// window, event loop, then everything freed in order. Returns the exit
// status: 0 after a normal close, non-zero when start-up failed (the
// failure is logged and shown first).
//
// The environment variable CB_QUIT_AFTER_MS=<n> closes the main window
// (through its normal close) and any start-up message n ms after they show;
// it serves unattended runs.
namespace cb::app {

int RunApplication(int& argc, char** argv);

}  // namespace cb::app
