#pragma once

#include <string>

// Text from outside (file names, job files, the encoder) made safe to print to a
// terminal: a control character would move the cursor, recolour or retitle the
// terminal, or break a one-line-per-item listing.
class TerminalText {
 public:
  // Every control character written as `ls -b` writes it: \a \b \t \n \v \f \r by
  // letter, the others (ESC, DEL, C1 controls, bytes that are no UTF-8) as
  // three-digit octal bytes, "\033". A backslash stands for itself, so Windows paths
  // stay readable. Other characters, in any script, are kept.
  static std::string Escaped(const std::string& text);
};
