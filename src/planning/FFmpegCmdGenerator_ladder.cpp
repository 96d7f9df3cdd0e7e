#include <iostream>

#include "planning/FFmpegCmdGenerator.h"
#include "planning/QualityMapping.h"
#include "text/StringUtil.h"

std::string FFmpegCmdGenerator::GetResolutionRange(int32_t width) {
  if (width > 4500) return "b4k";
  if (width > 2999) return "4k";
  if (width > 2049) return "2k";
  if (width > 1599) return "1080p";
  if (width > 999) return "720p";
  if (width > 479) return "480p";
  return "s480p";
}

std::vector<std::string> FFmpegCmdGenerator::QualitysFor(const MediaInfo& info,
                                                         const std::string& inputFile) {
  const auto width = info.find("Width");
  const std::string range =
      GetResolutionRange(StringUtil::str_to_int(width == info.end() ? "" : width->second));
  const auto has_video = info.find("HasVideo");
  // Only an explicit "false" means no video; a record without the key is given the benefit.
  if (has_video != info.end() && has_video->second == "false") {
    std::cout << "Error,FFmpegCmdGenerator::Generate, no video was found for inputFile:" << inputFile
              << std::endl;
    return {};
  }
  if (range == "b4k") {
    std::cout << "Error,FFmpegCmdGenerator::GetQualitys, video width>4500, not supported now!" << std::endl;
    return {};
  }
  if (range == "s480p") {
    std::cout << "Error,FFmpegCmdGenerator::GetQualitys, video width<480, not supported now!" << std::endl;
    return {};
  }
  const QualityMapping& mapping = QualityMapping::Instance();
  if (!mapping.HasTable(range)) {
    std::cout << "Error,FFmpegCmdGenerator::GetQualitys,resolution_range invalid, resolution_range:" << range
              << std::endl;
    return {};
  }
  return mapping.GetKeys(range);
}
