#pragma once

#include <QString>
#include <string>
#include <vector>

#include "probe/MediaInfo.h"

// What info and transcode both ask of a FILE argument, answered by the engine the
// window uses.
class CliInput {
 public:
  // The argument as an absolute path with native separators (what job files hold
  // and the window would pass), or "" after telling on standard error why there is
  // no file to look at.
  static std::string Resolve(const QString& argument);
  // The window's refusal text for the probed file, "!" included, or "" when accepted.
  static std::string Refusal(const std::string& path, const MediaInfo& info);
  // The quality keys offered for the file, highest first, as the window lists them.
  static std::vector<std::string> QualitiesHighestFirst(const std::string& path);
  // The keys joined by single spaces.
  static std::string Joined(const std::vector<std::string>& keys);
};
