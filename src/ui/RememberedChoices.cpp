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
const char* const kFitKey = "FitIntoSize";
const char* const kSizesKey = "TargetSizes";
const int64_t kMegabyte = 1000 * 1000;
const int64_t kUsualSizes[] = {8 * kMegabyte,  10 * kMegabyte,  25 * kMegabyte,
                               50 * kMegabyte, 100 * kMegabyte, 500 * kMegabyte};
// Confirmed sizes kept beside the usual ones.
const size_t kSizesKept = 4;

// The sizes stored, the last confirmed first; what does not read as a size is left out.
std::vector<int64_t> storedSizes() {
  std::vector<int64_t> sizes;
  for (const std::string& text : StringUtil::split(UserSettings::instance().get(kSizesKey), ',')) {
    const bool digits = !text.empty() && text.size() <= 15 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits && StringUtil::str_to_int64(text) > 0) sizes.push_back(StringUtil::str_to_int64(text));
  }
  return sizes;
}
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

bool RememberedChoices::fitIntoSize() { return UserSettings::instance().get(kFitKey) == "true"; }

int64_t RememberedChoices::targetSize() {
  const std::vector<int64_t> stored = storedSizes();
  return stored.empty() ? 25 * kMegabyte : stored.front();
}

std::vector<int64_t> RememberedChoices::targetSizes() {
  std::vector<int64_t> sizes(std::begin(kUsualSizes), std::end(kUsualSizes));
  for (int64_t size : storedSizes()) {
    if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) sizes.push_back(size);
  }
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

void RememberedChoices::rememberSize(bool fitIntoSize, int64_t bytes) {
  UserSettings& settings = UserSettings::instance();
  std::string sizes = settings.get(kSizesKey);
  if (fitIntoSize && bytes > 0) {
    std::vector<int64_t> kept = {bytes};
    for (int64_t size : storedSizes()) {
      if (size != bytes && kept.size() < kSizesKept) kept.push_back(size);
    }
    sizes.clear();
    for (int64_t size : kept) sizes += (sizes.empty() ? "" : ",") + std::to_string(size);
  }
  const std::string fit = StringUtil::bool_to_str(fitIntoSize);
  if (settings.get(kFitKey) == fit && settings.get(kSizesKey) == sizes) return;
  settings.set(kFitKey, fit);
  settings.set(kSizesKey, sizes);
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
