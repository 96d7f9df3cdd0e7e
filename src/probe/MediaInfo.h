#pragma once

#include <map>
#include <string>

// What is in a media file: a flat map from fixed key names ("Width", "HasVideo",
// "VideoBitrate", ...) to texts, as condensed from the probe's report.
using MediaInfo = std::map<std::string, std::string>;
