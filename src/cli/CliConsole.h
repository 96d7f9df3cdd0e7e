#pragma once

#include <string>

// Standard output carries results and progress, standard error the problems. The
// engine's trace lines (std::cout, meant for the window's console) and the program
// log's copy on standard error would bury both, so the front end takes the two
// streams over: the traces go nowhere, the log keeps its files.
class CliConsole {
 public:
  // Call once at start, before any job thread exists.
  static void TakeOver();
  // Writes the text as it is and flushes it.
  static void Out(const std::string& text);
  static void Err(const std::string& text);
  // True when standard output is a terminal that follows cursor movements (the
  // progress bar); otherwise progress comes as plain lines.
  static bool OutIsTerminal();

 private:
  // Per platform: console set-up (UTF-8, escape sequences on Windows).
  static void preparePlatform();
};
