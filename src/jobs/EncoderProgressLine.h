#pragma once

#include <string>

// The figures of one line of the encoder's console output: progress lines carry
// "frame=", "time=" and "speed="; the input header carries "Duration:" and "start:".
// Spaces are ignored.
class EncoderProgressLine {
 public:
  // Seconds of the last "time=" (-1 when absent).
  static double ExtractTime(const std::string& line);
  // The factor of the last "speed=" (-1 when absent).
  static double ExtractSpeed(const std::string& line);
  // Seconds of the first "Duration:" (-1 when absent).
  static double ExtractDuration(const std::string& line);
  // Seconds of the first "start:" (0 when absent).
  static double ExtractStart(const std::string& line);
  // Frames handed to the encoder so far, from "frame=" (-1 when absent).
  static long long ExtractFrames(const std::string& line);
  // Bytes of output so far, from "size=" in kB (-1 when absent or not a number).
  static long long ExtractSizeBytes(const std::string& line);
};
