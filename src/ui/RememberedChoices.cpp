#include "ui/RememberedChoices.h"

#include <algorithm>

#include "environment/UserSettings.h"
#include "text/StringUtil.h"

namespace {
const char* const kQualityKey = "Quality";
const char* const kFormatKey = "OutputFormat";
const char* const kSubfoldersKey = "IncludeSubfolders";
const char* const kDefaultQuality = "95";
const char* const kAllTracksKey = "KeepAllTracks";
}  // namespace

const std::vector<std::string>& RememberedChoices::formats() {
  static const std::vector<std::string> offered = {".mp4", ".mkv", ".flv", ".avi", ".ts"};
  return offered;
}

std::string RememberedChoices::quality() {
  const std::string stored = UserSettings::instance().get(kQualityKey);
  const bool twoDigits = stored.size() == 2 && std::all_of(stored.begin(), stored.end(),
                                                           [](char c) { return c >= '0' && c <= '9'; });
  return twoDigits ? stored : kDefaultQuality;
}

std::string RememberedChoices::format() {
  const std::string stored = UserSettings::instance().get(kFormatKey);
  const auto& offered = formats();
  return std::find(offered.begin(), offered.end(), stored) != offered.end() ? stored : offered.front();
}

void RememberedChoices::remember(const std::string& quality, const std::string& format) {
  UserSettings& settings = UserSettings::instance();
  if (settings.get(kQualityKey) == quality && settings.get(kFormatKey) == format) return;
  settings.set(kQualityKey, quality);
  settings.set(kFormatKey, format);
  settings.save();
}

bool RememberedChoices::keepAllTracks() { return UserSettings::instance().get(kAllTracksKey) == "true"; }

void RememberedChoices::rememberKeepAllTracks(bool keep) {
  if (keepAllTracks() == keep) return;
  UserSettings& settings = UserSettings::instance();
  settings.set(kAllTracksKey, StringUtil::bool_to_str(keep));
  settings.save();
}

bool RememberedChoices::includeSubfolders() { return UserSettings::instance().get(kSubfoldersKey) == "true"; }

void RememberedChoices::rememberSubfolders(bool include) {
  UserSettings& settings = UserSettings::instance();
  const std::string value = StringUtil::bool_to_str(include);
  if (settings.get(kSubfoldersKey) == value) return;
  settings.set(kSubfoldersKey, value);
  settings.save();
}

std::string RememberedChoices::offeredQuality(const std::vector<std::string>& ladder,
                                              const std::string& wanted) {
  if (ladder.empty()) return std::string();
  const int target = StringUtil::str_to_int(wanted);
  std::string nearestLower;
  std::string lowest = ladder.front();
  for (const std::string& key : ladder) {
    const int value = StringUtil::str_to_int(key);
    if (value == target) return key;
    if (value < target && (nearestLower.empty() || value > StringUtil::str_to_int(nearestLower)))
      nearestLower = key;
    if (value < StringUtil::str_to_int(lowest)) lowest = key;
  }
  return nearestLower.empty() ? lowest : nearestLower;
}
