#include "jobs/EncoderErrorLines.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t kMostErrors = 4;
constexpr size_t kLastLines = 3;
constexpr size_t kLongestLine = 400;

std::string lowered(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string trimmed(const std::string& line) {
  const size_t begin = line.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  const size_t end = line.find_last_not_of(" \t\r\n");
  return line.substr(begin, std::min(end + 1 - begin, kLongestLine));
}

bool isProgressLine(const std::string& line) {
  return line.find("frame=") != std::string::npos && line.find("time=") != std::string::npos;
}

bool isGeneric(const std::string& line) { return line == "Conversion failed!"; }

// "[h264 @ 0x55d0c8a1b2c0] Invalid NAL unit size": the component and its address
// mean nothing to a user.
std::string withoutComponent(const std::string& line) {
  if (line.empty() || line.front() != '[') return line;
  const size_t close = line.find("] ");
  if (close == std::string::npos || line.find(" @ 0x") > close) return line;
  return line.substr(close + 2);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

bool EncoderErrorLines::LooksLikeError(const std::string& line) {
  static const char* const kMarkers[] = {"error",     "invalid",   "no such file", "permission denied",
                                         "no space",  "failed",    "could not",    "cannot",
                                         "unable to", "not found", "partial file", "corrupt",
                                         "truncated", "i/o error", "disk quota"};
  const std::string lower = lowered(line);
  for (const char* marker : kMarkers) {
    if (lower.find(marker) != std::string::npos) return true;
  }
  return false;
}

void EncoderErrorLines::Add(const std::string& raw) {
  const std::string line = withoutComponent(trimmed(raw));
  if (line.empty() || isProgressLine(line)) return;
  last_.push_back(line);
  if (last_.size() > kLastLines) last_.pop_front();
  if (isGeneric(line)) {
    generic_ = line;
  } else if (errors_.size() < kMostErrors && LooksLikeError(line) &&
             std::find(errors_.begin(), errors_.end(), line) == errors_.end()) {
    errors_.push_back(line);
  }
}

std::vector<std::string> EncoderErrorLines::Lines(const std::string& from, const std::string& to) const {
  std::vector<std::string> lines = errors_;
  if (!generic_.empty()) lines.push_back(generic_);
  for (std::string& line : lines) replaceAll(line, from, to);
  return lines;
}

std::vector<std::string> EncoderErrorLines::Tail() const {
  return std::vector<std::string>(last_.begin(), last_.end());
}
