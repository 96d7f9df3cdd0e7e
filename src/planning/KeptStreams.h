#pragma once

#include <vector>

// The input streams an output keeps, by their numbers in the input (as the
// encoder's -map and the probe's stream index name them).
struct KeptStreams {
  int video = -1;  // -1: none
  std::vector<int> audio;
  std::vector<int> subtitles;
};
