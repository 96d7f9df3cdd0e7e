#include "probe/ProbeLines.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "text/StringUtil.h"

namespace probe_lines {

namespace {

unsigned char uchar(char c) { return static_cast<unsigned char>(c); }

bool hasKey(const std::string& line, const char* key) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const size_t length = std::strlen(key);
  return line.compare(first, length, key) == 0 && line.size() > first + length && line[first + length] == '=';
}

}  // namespace

bool isRotateTag(const std::string& line) { return hasKey(line, "rotate"); }

bool isRotationAngle(const std::string& line) { return hasKey(line, "rotation"); }

bool isAttachedPicture(const std::string& line) {
  return hasKey(line, "attached_pic") && StringUtil::trim(line.substr(line.find('=') + 1)) == "1";
}

std::string streamOfHeader(const std::string& line) {
  static const std::string prefix = "[streams.stream.";
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line.compare(first, prefix.size(), prefix) != 0) return std::string();
  const size_t begin = first + prefix.size();
  const size_t end = line.find_first_of(".]", begin);
  return end == std::string::npos ? std::string() : line.substr(begin, end - begin);
}

bool isSectionHeader(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first != std::string::npos && line[first] == '[';
}

std::string valueAfter(const std::string& line, const std::string& marker) {
  return StringUtil::trim(StringUtil::replace_all_copy(line, marker, ""));
}

bool splitEntry(const std::string& line, std::string& key, std::string& value) {
  // The probe puts a backslash before '\\', '=', ':' and '#', writes the usual control
  // characters as \n and the others as \x00 and two hex digits.
  std::string* half = &key;
  key.clear();
  value.clear();
  bool split = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '=' && !split) {
      split = true;
      half = &value;
      continue;
    }
    if (c != '\\' || i + 1 == line.size()) {
      half->push_back(c);
      continue;
    }
    const char next = line[++i];
    switch (next) {
      case 'b':
        half->push_back('\b');
        break;
      case 'f':
        half->push_back('\f');
        break;
      case 'n':
        half->push_back('\n');
        break;
      case 'r':
        half->push_back('\r');
        break;
      case 't':
        half->push_back('\t');
        break;
      case 'x':
        if (i + 4 < line.size() && line.compare(i + 1, 2, "00") == 0 && std::isxdigit(uchar(line[i + 3])) &&
            std::isxdigit(uchar(line[i + 4]))) {
          half->push_back(static_cast<char>(std::strtol(line.substr(i + 3, 2).c_str(), nullptr, 16)));
          i += 4;
          break;
        }
        half->push_back(next);
        break;
      default:
        half->push_back(next);
    }
  }
  return split;
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
