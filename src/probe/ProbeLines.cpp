#include "probe/ProbeLines.h"

#include <charconv>
#include <cmath>

#include "Util/StringUtil.h"

namespace probe_lines {

bool isRotationLine(const std::string& line) {
  return StringUtil::contains(line, "rotate=") || StringUtil::contains(line, "rotation=");
}

std::string valueAfter(const std::string& line, const std::string& marker) {
  return StringUtil::trim(StringUtil::replace_all_copy(line, marker, ""));
}

bool normalizedDegrees(const std::string& text, int& degrees) {
  // Read with '.' whatever the process locale (strtod would follow LC_NUMERIC).
  const char* begin = text.c_str();
  if (*begin == '+') ++begin;
  double value = 0;
  if (std::from_chars(begin, text.c_str() + text.size(), value).ec != std::errc() || !std::isfinite(value))
    return false;
  const long whole = std::lround(std::fmod(value, 360.0));
  degrees = static_cast<int>((whole % 360 + 360) % 360);
  return true;
}

}  // namespace probe_lines
