#pragma once

// The whole program from the command line to the end of the event loop: single
// instance, translation, style sheet, main window. Returns the exit code.
int run_kovadle(int argc, char** argv);
