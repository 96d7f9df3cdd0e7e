#pragma once

#include <string>

// Where the development traces (lines written to std::cout) and the log's copy on
// standard error go. A window started from a terminal must not flood it: in normal
// use only warnings reach standard error, traces that report an error ("Error,...")
// go into the program log and the others nowhere. With the environment variable
// KOVADLE_TRACE set (to anything but "" or "0") every trace goes to standard output
// and every log line to standard error as well.
class TraceOutput {
 public:
  static const char* const kSwitch;

  // True when the environment asks for the traces.
  static bool Requested();
  // Applies the environment's choice. Call once at start, before threads write traces.
  static void Apply();
  // Traces (and log lines) to the terminal, or kept off it.
  static void ToTerminal(bool shown);

  // True for a trace that reports an error and is kept in the log.
  static bool IsErrorTrace(const std::string& line);
};
