#include "planning/FFmpegCmdGenerator.h"

const char* FFmpegCmdGenerator::EncoderFileName() { return "encoder"; }
