#include "planning/QualityRow.h"

#include <charconv>

namespace {

// The shortest text that reads back as the number ("24", "23.976"), in every locale.
std::string shortest(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, written.ptr);
}

}  // namespace

std::map<std::string, std::string> QualityRow::ToMap() const {
  return {{"VideoBitrate", std::to_string(videoBitrate)},
          {"AudioBitrate", std::to_string(audioBitrate)},
          {"Width", std::to_string(width)},
          {"VideoFramerate", shortest(videoFramerate)},
          {"Preset", preset}};
}
