#pragma once

#include <string>

// Local-time stamps.
class TimeUtil {
 public:
  // "%Y%m%d_%H%M%S", e.g. 20231201_093005.
  static std::string datetime_stamp();
  // "%Y%m%d".
  static std::string date_stamp();
  // "%d", two digits.
  static std::string day_of_month();
  static std::string format_now(const char* pattern);
};
