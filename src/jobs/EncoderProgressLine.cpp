#include "jobs/EncoderProgressLine.h"

#include "text/StringUtil.h"

namespace {

std::string withoutSpaces(const std::string& line) {
  std::string text = line;
  StringUtil::remove_spaces(text);
  return text;
}

// "HH:MM:SS.cc" as seconds; each field is two characters read as a leading number.
double clockToSeconds(const std::string& clock) {
  auto field = [&clock](size_t offset) { return StringUtil::str_to_int(clock.substr(offset, 2)); };
  return field(0) * 3600 + field(3) * 60 + field(6) + field(9) / 100.0;
}

// The last marker that still has at least minLength characters from its start.
size_t findLast(const std::string& text, const std::string& marker, size_t minLength) {
  if (text.size() < minLength) return std::string::npos;
  return text.rfind(marker, text.size() - minLength);
}

// The first marker, provided it has at least minLength characters from its start.
size_t findFirst(const std::string& text, const std::string& marker, size_t minLength) {
  const size_t pos = text.find(marker);
  if (pos == std::string::npos || text.size() - pos < minLength) return std::string::npos;
  return pos;
}

}  // namespace

double EncoderProgressLine::ExtractTime(const std::string& line) {
  const std::string text = withoutSpaces(line);
  const size_t pos = findLast(text, "time=", 16);
  if (pos == std::string::npos) return -1;
  return clockToSeconds(text.substr(pos + 5, 11));
}

double EncoderProgressLine::ExtractSpeed(const std::string& line) {
  const std::string text = withoutSpaces(line);
  const size_t pos = findLast(text, "speed=", 8);
  if (pos == std::string::npos) return -1;
  const size_t end = text.find('x', pos + 6);
  if (end == std::string::npos) return -1;
  return StringUtil::str_to_double(text.substr(pos + 6, end - pos - 6));
}

double EncoderProgressLine::ExtractDuration(const std::string& line) {
  const std::string text = withoutSpaces(line);
  const size_t pos = findFirst(text, "Duration:", 20);
  if (pos == std::string::npos) return -1;
  return clockToSeconds(text.substr(pos + 9, 11));
}

double EncoderProgressLine::ExtractStart(const std::string& line) {
  const std::string text = withoutSpaces(line);
  const size_t pos = text.find("start:");
  if (pos == std::string::npos) return 0;
  const size_t end = text.find(',', pos + 6);
  if (end == std::string::npos) return 0;
  return StringUtil::str_to_double(text.substr(pos + 6, end - pos - 6));
}

namespace {
// The decimal digits right after the first marker, -1 when there are none.
long long leadingNumber(const std::string& text, const std::string& marker) {
  const size_t pos = text.find(marker);
  if (pos == std::string::npos) return -1;
  long long value = -1;
  for (size_t i = pos + marker.size(); i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // A corrupt line must not overflow.
    if (value > 1000000000000LL) return -1;
    value = (value < 0 ? 0 : value * 10) + (text[i] - '0');
  }
  return value;
}
}  // namespace

long long EncoderProgressLine::ExtractFrames(const std::string& line) {
  return leadingNumber(withoutSpaces(line), "frame=");
}

long long EncoderProgressLine::ExtractSizeBytes(const std::string& line) {
  const long long kilobytes = leadingNumber(withoutSpaces(line), "size=");
  return kilobytes < 0 ? -1 : kilobytes * 1024;
}
