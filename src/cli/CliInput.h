#pragma once

#include <QString>
#include <string>
#include <vector>

// What info and transcode both ask of a FILE argument before the engine judges it.
class CliInput {
 public:
  // The argument as an absolute path with native separators (what job files hold
  // and the window would pass), or "" after telling on standard error why there is
  // no file to look at.
  static std::string Resolve(const QString& argument);
  // The keys joined by single spaces.
  static std::string Joined(const std::vector<std::string>& keys);
};
