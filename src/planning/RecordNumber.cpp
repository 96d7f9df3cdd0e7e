#include "planning/RecordNumber.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {
const char* skipBlanks(const std::string& text) {
  const char* p = text.c_str();
  while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p;
}
}  // namespace

int RecordNumber::ToInt(const std::string& text) {
  const long long value = std::strtoll(skipBlanks(text), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double RecordNumber::ToDouble(const std::string& text) {
  const char* first = skipBlanks(text);
  if (*first == '+') ++first;
  double value = 0;
  if (std::from_chars(first, text.c_str() + text.size(), value).ec != std::errc()) return 0;
  return value;
}

std::string RecordNumber::ToFixed(double value, int decimals) {
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << std::fixed << std::setprecision(decimals) << value;
  return stream.str();
}
