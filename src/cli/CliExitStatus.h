#pragma once

// How kovadle-cli ends, for scripts.
namespace cli_exit {
constexpr int kOk = 0;      // every file done (or described, or listed)
constexpr int kFailed = 1;  // a file was refused or a job failed
constexpr int kUsage = 2;   // the command line was wrong
// Ended by a termination request: this plus the signal (130 after Ctrl-C).
constexpr int kSignalBase = 128;
}  // namespace cli_exit
