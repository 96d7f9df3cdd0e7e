#pragma once

#include <cstdint>
#include <string>

// What a new job is to make of its input, as a front end chose it. It grows with
// what the encoder learns to do; a member left at its default keeps the plan what
// it was before that member existed.
struct JobPlan {
  // A key of the input's quality ladder ("95"); left to the plan when the output is
  // fitted into a size.
  std::string quality;
  // The output container as its extension (".mp4", ".mkv", ...).
  std::string outputFormat = ".mp4";
  std::string outputCodec = "h264";
  // Where the output goes; it is named by the "_output" rule (see
  // JobEngine::ProposedOutput) and reserved when the job is made.
  std::string outputFolder;
  // Every audio track and every subtitle the container holds, instead of the one
  // video, audio track and (MKV) subtitle the encoder picks itself.
  bool keepAllTracks = false;
  // Bytes the output is fitted into, at most, instead of a quality: the size picks
  // the frame size and rates (SizePlan). 0: the quality decides.
  int64_t targetBytes = 0;
};
