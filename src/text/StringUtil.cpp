#include "text/StringUtil.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

bool StringUtil::contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool StringUtil::starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void StringUtil::replace_first(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  const size_t pos = text.find(from);
  if (pos != std::string::npos) text.replace(pos, from.size(), to);
}

void StringUtil::replace_all(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  size_t pos = text.find(from);
  if (pos == std::string::npos) return;
  // Both forms build a new text: replacing in place moves the rest of the text on
  // every hit, which is quadratic for a long line full of hits.
  std::string result;
  result.reserve(text.size());
  if (to.find(from) != std::string::npos) {
    // Searching again from the start would never end here: one left-to-right pass.
    size_t start = 0;
    for (; pos != std::string::npos; pos = text.find(from, start)) {
      result.append(text, start, pos - start).append(to);
      start = pos + from.size();
    }
    result.append(text, start, std::string::npos);
    text.swap(result);
    return;
  }
  // The same result as searching again from the start after each replacement, in
  // one pass: the text before a hit holds no hit, so the next one can only end
  // inside the replacement or after it. A replacement is therefore scanned again,
  // character by character, before the rest of the text.
  result.append(text, 0, pos);
  std::string rescan;  // replacement characters still to scan, the next one last
  size_t next = pos;
  while (next < text.size() || !rescan.empty()) {
    if (!rescan.empty()) {
      result += rescan.back();
      rescan.pop_back();
    } else {
      result += text[next++];
    }
    if (result.back() == from.back() && result.size() >= from.size() &&
        result.compare(result.size() - from.size(), from.size(), from) == 0) {
      result.resize(result.size() - from.size());
      rescan.append(to.rbegin(), to.rend());
    }
  }
  text.swap(result);
}

std::string StringUtil::replace_all_copy(std::string text, const std::string& from, const std::string& to) {
  replace_all(text, from, to);
  return text;
}

void StringUtil::to_lower(std::string& text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void StringUtil::to_upper(std::string& text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string StringUtil::trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

void StringUtil::trim_inplace(std::string& text) { text = trim(text); }

void StringUtil::trim_white_space(std::string& text) {
  size_t first = 0;
  while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  size_t end = text.size();
  while (end > first && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  text = text.substr(first, end - first);
}

void StringUtil::remove_spaces(std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out += c;
  text.swap(out);
}

std::string StringUtil::bool_to_str(bool value) { return value ? "true" : "false"; }

bool StringUtil::str_to_bool(const std::string& text) {
  if (text == "true") return true;
  if (text == "false") return false;
  throw std::string("StringUtil::str_to_bool,invalid str,only support {true,false}!");
}

namespace {
const char* skip_blanks(const std::string& text) {
  const char* p = text.c_str();
  while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p;
}
}  // namespace

int StringUtil::str_to_int(const std::string& text) {
  // atoi's reading, but a value beyond the int range is clamped instead of wrapping.
  const long long value = std::strtoll(skip_blanks(text), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

long long StringUtil::str_to_int64(const std::string& text) { return std::atoll(text.c_str()); }

double StringUtil::str_to_double(const std::string& text) {
  // atof's reading (leading number, 0 when none) with '.' whatever the process locale.
  const char* first = skip_blanks(text);
  if (*first == '+') ++first;
  double value = 0;
  if (std::from_chars(first, text.c_str() + text.size(), value).ec != std::errc()) return 0;
  return value;
}

double StringUtil::str_to_double_stream(const std::string& text) {
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  double value = 0;
  stream >> value;
  return value;
}

std::string StringUtil::int_to_str(int value) { return std::to_string(value); }

std::string StringUtil::long_to_str(long value) { return std::to_string(value); }

std::string StringUtil::longlong_to_str(long long value) { return std::to_string(value); }

std::string StringUtil::double_to_str(double value) {
  // "%f" output, but printf would write the decimal separator of the process locale
  // (a Qt program on Linux takes it from the environment: "37,500000").
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, 6);
  if (result.ec != std::errc()) return "0.000000";
  return std::string(buffer, result.ptr);
}

std::string StringUtil::double_to_fixed_str(double value, int decimals) {
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << std::fixed << std::setprecision(decimals) << value;
  return stream.str();
}

std::vector<std::string> StringUtil::split(const std::string& text, char delimiter) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(delimiter, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

bool StringUtil::version_valid(const std::string& version) {
  // Digits and single dots only: a version becomes part of a file name.
  int numbers = 0;
  bool in_number = false;
  for (const char c : version) {
    if (c >= '0' && c <= '9') {
      if (!in_number) ++numbers;
      in_number = true;
    } else if (c == '.' && in_number) {
      in_number = false;
    } else {
      return false;
    }
  }
  return in_number && (numbers == 2 || numbers == 3);
}

int StringUtil::version_compare(const std::string& a, const std::string& b) {
  const std::vector<std::string> left = split(a + ".0", '.');
  const std::vector<std::string> right = split(b + ".0", '.');
  for (size_t i = 0; i < 3; ++i) {
    const int l = i < left.size() ? str_to_int(left[i]) : 0;
    const int r = i < right.size() ? str_to_int(right[i]) : 0;
    if (l > r) return 1;
    if (l < r) return -1;
  }
  return 0;
}

std::string StringUtil::short_version(const std::string& version) {
  const std::vector<std::string> pieces = split(version, '.');
  if (pieces.size() > 2) return pieces[0] + "." + pieces[1];
  return version;
}

int StringUtil::min_int(int a, int b) { return a < b ? a : b; }

double StringUtil::min_double(double a, double b) { return a < b ? a : b; }
