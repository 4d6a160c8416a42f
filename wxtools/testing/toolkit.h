#pragma once
// Starting the toolkit for a test program without a main loop of its own:
// once at the start of the program, stopped at its end.

namespace ovk_wxtest {

// Starts the toolkit with a plain application object and installs the dialog
// script. False when it cannot start (no display: run under xvfb-run).
bool start_toolkit(int& argc, char** argv);

// Stops what start_toolkit started.
void stop_toolkit();

}  // namespace ovk_wxtest
