#pragma once

#include <string>
#include <vector>

// Text operations over UTF-8 std::string, number/text conversions and version texts.
class StringUtil {
 public:
  static bool contains(const std::string& text, const std::string& part);
  static bool starts_with(const std::string& text, const std::string& prefix);
  static void replace_first(std::string& text, const std::string& from, const std::string& to);
  // Replaces every occurrence, searching again from the start after each replacement.
  static void replace_all(std::string& text, const std::string& from, const std::string& to);
  static std::string replace_all_copy(std::string text, const std::string& from, const std::string& to);
  static void to_lower(std::string& text);
  static void to_upper(std::string& text);

  // Strips the space character only; tabs and line breaks are kept.
  static std::string trim(const std::string& text);
  static void trim_inplace(std::string& text);
  // Strips every isspace() character at both ends.
  static void trim_white_space(std::string& text);
  static void remove_spaces(std::string& text);

  static std::string bool_to_str(bool value);
  // "true" or "false" exactly; anything else throws a std::string.
  static bool str_to_bool(const std::string& text);
  // Leading number of the text, 0 when none (atoi/atof style); ints are clamped to
  // their range and doubles read with '.' in every locale.
  static int str_to_int(const std::string& text);
  static long long str_to_int64(const std::string& text);
  static double str_to_double(const std::string& text);
  static double str_to_double_stream(const std::string& text);
  static std::string int_to_str(int value);
  static std::string long_to_str(long value);
  static std::string longlong_to_str(long long value);
  // Number texts never depend on the process locale: the separator is always '.'.
  static std::string double_to_str(double value);  // "%f": six decimals
  static std::string double_to_fixed_str(double value, int decimals);

  // Pieces between delimiters; empty pieces are dropped.
  static std::vector<std::string> split(const std::string& text, char delimiter);

  // Two or three numbers of digits, separated by single dots ("1.2", "1.1.6").
  static bool version_valid(const std::string& version);
  // 1 when a > b, -1 when a < b, 0 when the first three pieces are equal.
  static int version_compare(const std::string& a, const std::string& b);
  static std::string short_version(const std::string& version);

  static int min_int(int a, int b);
  static double min_double(double a, double b);
};
