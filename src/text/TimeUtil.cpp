#include "text/TimeUtil.h"

#include <ctime>

std::string TimeUtil::format_now(const char* pattern) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[80] = {0};
  std::strftime(buffer, sizeof(buffer), pattern, &local);
  return buffer;
}

std::string TimeUtil::datetime_stamp() { return format_now("%Y%m%d_%H%M%S"); }
std::string TimeUtil::date_stamp() { return format_now("%Y%m%d"); }
std::string TimeUtil::day_of_month() { return format_now("%d"); }
