#include "planning/FFmpegCmdGenerator.h"

// The encoder shipped for Windows passes over default marks when it picks streams
// itself (it takes the most channels, the largest frame), so the output would keep
// another track than the plan and the settings dialog say: name them.
bool FFmpegCmdGenerator::NamesUsualStreams() { return true; }
