#pragma once

#include <string>

// Numbers inside record texts, read like the C library's atoi/atof (leading number,
// anything unreadable counts as 0) but the same in every process locale (Qt adopts
// the user's locale, where atof may stop at the '.') and without overflow: integers
// beyond the int range are clamped to it.
class RecordNumber {
 public:
  static int ToInt(const std::string& text);
  static double ToDouble(const std::string& text);
  // Fixed notation with a '.' whatever the locale, e.g. ToFixed(24, 3) == "24.000".
  static std::string ToFixed(double value, int decimals);
};
