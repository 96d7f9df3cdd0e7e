#include "planning/FFmpegCmdGenerator.h"

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "probe/MediaInfoCache.h"

std::vector<std::string> FFmpegCmdGenerator::GetQualitys(const std::string& inputFile) {
  return QualitysFor(MediaInfoCache::GetInstance().GetMediaInfo(inputFile), inputFile);
}

FFmpegParams FFmpegCmdGenerator::GetFFmpegParams(const std::string& inputFile, const std::string& outputFile,
                                                 const std::string& quality) {
  return ParamsFor(MediaInfoCache::GetInstance().GetMediaInfo(inputFile), inputFile, outputFile, quality);
}

std::string FFmpegCmdGenerator::Generate(const std::string& inputFile, const std::string& outputFile,
                                         const std::string& quality) {
  const std::string command = CommandFor(GetFFmpegParams(inputFile, outputFile, quality));
  // The command holds the user's file names: only debug builds write it to the log.
  log_info(std::string("FFmpegCmdGenerator::Generate,ffmpeg_cmd:") + (is_debug_mode() ? command : ""));
  return command;
}
