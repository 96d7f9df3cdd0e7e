#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "planning/FFmpegParams.h"
#include "probe/MediaInfo.h"
#include "process/CommandLine.h"

// Turns an input, an output path and a quality key ("70" to "99") into the encoder
// command line: the input's resolution class picks a quality table, the table's row
// and the input's own figures give the output parameters, and those the command.
class FFmpegCmdGenerator {
 public:
  static std::string GetEncoderPath();
  static std::string GetResolutionRange(int32_t width);
  // Quality keys offered for the input, ascending; empty when it cannot be transcoded.
  static std::vector<std::string> GetQualitys(const std::string& inputFile);
  static FFmpegParams GetFFmpegParams(const std::string& inputFile, const std::string& outputFile,
                                      const std::string& quality);
  // keepAllTracks: every audio track and every subtitle the container holds,
  // instead of the one video, audio and (MKV) subtitle the encoder picks itself.
  // Builds of the encoder differ in that pick (whether a default mark counts): where
  // the encoder may pick otherwise than the plan, the usual command names the
  // streams the plan keeps.
  static bool NamesUsualStreams();
  static CommandLine Generate(const std::string& inputFile, const std::string& outputFile,
                              const std::string& quality, bool keepAllTracks = false);

  // The work behind the three calls above for a media record already at hand; they
  // fetch the input's record from the probe cache and hand it to these. Refusals
  // are reported on standard output exactly as by the calls above.

  // The quality keys for the input described by info, ascending; empty when refused.
  static std::vector<std::string> QualitysFor(const MediaInfo& info, const std::string& inputFile);
  // The output parameters for the input described by info; not planned when the
  // input is refused.
  static FFmpegParams ParamsFor(const MediaInfo& info, const std::string& inputFile,
                                const std::string& outputFile, const std::string& quality,
                                bool keepAllTracks = false);
  // Which encoder run of a job a command is: the only one, or for a size the fast
  // analysis run (its log at kPassLog, nothing written) and then the output's run,
  // which spends the bits where that log says they are needed.
  enum class Pass { Only, Analysis, Output };
  // Stands for the path of the analysis log in the two runs' commands; the job
  // puts a file of its own temporary folder in its place.
  static const char* const kPassLog;
  // The encoder command line for the parameters (paths taken from them).
  static CommandLine CommandFor(const FFmpegParams& params, Pass pass = Pass::Only);

  // What an input becomes at a quality before any job exists, as the settings
  // dialogs show it: the parameters (without paths, tracks planned for the output
  // format) and the estimated output size.
  struct OutputPlan {
    FFmpegParams params;
    int64_t estimatedBytes = 0;
  };
  static OutputPlan PlanOutput(const MediaInfo& input, const std::string& quality,
                               const std::string& outputFormat = ".mp4", bool keepAllTracks = false);
  // Estimated output size in bytes: (video + audio bit rate x audio tracks) x
  // duration / 8; 0 when the duration is not a positive number.
  static int64_t EstimatedOutputSize(int videoBitrate, int audioBitrate, double seconds, int audioTracks = 1);
};
