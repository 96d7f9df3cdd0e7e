#include "planning/FFmpegCmdGenerator.h"

// The system's encoder picks as the plan does (a default mark before the most
// channels or the largest frame): the usual command leaves the pick to it.
bool FFmpegCmdGenerator::NamesUsualStreams() { return false; }
