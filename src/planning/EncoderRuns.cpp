#include "planning/EncoderRuns.h"

#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"

EncoderRuns EncoderRuns::Single(const CommandLine& command) {
  EncoderRuns runs;
  runs.output = command;
  return runs;
}

EncoderRuns EncoderRuns::ForSize(const std::string& inputFile, const std::string& outputFile,
                                 int64_t targetBytes, bool keepAllTracks) {
  const MediaInfo input = MediaInfoCache::GetInstance().GetMediaInfo(inputFile);
  return ForPlan(SizePlan::For(input, targetBytes, OSUtil::getFileExtension(outputFile), keepAllTracks),
                 inputFile, outputFile);
}

EncoderRuns EncoderRuns::ForPlan(const SizePlan& plan, const std::string& inputFile,
                                 const std::string& outputFile) {
  EncoderRuns runs;
  runs.size = plan;
  if (!plan.Encodable()) return runs;
  FFmpegParams params = plan.params;
  params.inputFile = inputFile;
  params.outputFile = outputFile;
  runs.size.params = params;
  runs.analysis = FFmpegCmdGenerator::CommandFor(params, FFmpegCmdGenerator::Pass::Analysis);
  runs.output = FFmpegCmdGenerator::CommandFor(params, FFmpegCmdGenerator::Pass::Output);
  return runs;
}

EncoderRuns EncoderRuns::WithPassLog(const std::string& prefix) const {
  EncoderRuns runs = *this;
  runs.analysis.ReplaceEvery(FFmpegCmdGenerator::kPassLog, prefix);
  runs.output.ReplaceEvery(FFmpegCmdGenerator::kPassLog, prefix);
  return runs;
}

CommandLine EncoderRuns::OutputAt(int videoBitrate) const {
  CommandLine command = output;
  command.ReplaceValueOf("-b:v", std::to_string(videoBitrate));
  // The peaks' bounds follow the rate (see FFmpegCmdGenerator::CommandFor).
  command.ReplaceValueOf("-maxrate", std::to_string(int64_t{videoBitrate} * 2));
  command.ReplaceValueOf("-bufsize", std::to_string(int64_t{videoBitrate} * 4));
  return command;
}
