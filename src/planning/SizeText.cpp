#include "planning/SizeText.h"

#include <cctype>

namespace {

struct Unit {
  const char* name;  // lower case
  int64_t bytes;
};
const Unit kUnits[] = {
    {"b", 1},      {"kb", 1000},         {"mb", 1000 * 1000},        {"gb", 1000 * 1000 * 1000},
    {"kib", 1024}, {"mib", 1024 * 1024}, {"gib", 1024 * 1024 * 1024}};

std::string trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

// value / unit with up to two decimals, cut; trailing zeros and a lone dot dropped.
std::string cut(int64_t value, int64_t unit) {
  const int64_t hundredths = value / unit * 100 + value % unit * 100 / unit;
  std::string text = std::to_string(hundredths / 100);
  const int64_t fraction = hundredths % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

}  // namespace

std::optional<int64_t> SizeText::Parse(const std::string& text) {
  const std::string given = trimmed(text);
  size_t split = 0;
  while (split < given.size() &&
         (std::isdigit(static_cast<unsigned char>(given[split])) || given[split] == '.'))
    ++split;
  const std::string number = given.substr(0, split);
  std::string unit = trimmed(given.substr(split));
  for (char& c : unit) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Digits before and after one dot, read exactly: 2.07 MB is 2,070,000 bytes.
  const size_t dot = number.find('.');
  const std::string whole = number.substr(0, dot);
  const std::string fraction = dot == std::string::npos ? std::string() : number.substr(dot + 1);
  if (whole.empty() || whole.size() > 16 || fraction.find('.') != std::string::npos ||
      (dot != std::string::npos && fraction.empty()))
    return std::nullopt;
  for (const Unit& known : kUnits) {
    if (unit != known.name) continue;
    const int64_t integral = std::stoll(whole);
    if (integral > kLargest / known.bytes) return std::nullopt;
    // Nine decimals are finer than a byte of any unit; the product stays in range.
    const std::string digits = fraction.substr(0, 9);
    int64_t scale = 1;
    for (size_t i = 0; i < digits.size(); ++i) scale *= 10;
    const int64_t parts = digits.empty() ? 0 : std::stoll(digits);
    const int64_t bytes = integral * known.bytes + parts * known.bytes / scale;
    if (bytes < 1 || bytes > kLargest) return std::nullopt;
    return bytes;
  }
  return std::nullopt;
}

const char* SizeText::Units() { return "B, kB, MB, GB, KiB, MiB, GiB"; }

std::string SizeText::Decimal(int64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes < 0 ? 0 : bytes) + " B";
  if (bytes < 1000 * 1000) return cut(bytes, 1000) + " kB";
  if (bytes < int64_t{1000} * 1000 * 1000) return cut(bytes, 1000 * 1000) + " MB";
  return cut(bytes, int64_t{1000} * 1000 * 1000) + " GB";
}

std::string SizeText::Megabytes(int64_t bytes) { return cut(bytes < 0 ? 0 : bytes, 1000 * 1000); }
