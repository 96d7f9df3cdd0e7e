#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The quality and output format the user last confirmed, kept in the user
// settings ("Quality", "OutputFormat"), so the next settings dialog starts there;
// likewise whether every track is kept ("KeepAllTracks")
// and whether Add Folder takes the subfolders' videos too ("IncludeSubfolders"),
// whether the output was fitted into a size ("FitIntoSize") and which sizes were
// confirmed lately ("TargetSizes", bytes, the last first).
class RememberedChoices {
 public:
  // The remembered quality key ("85"), or "95" when none is stored.
  static std::string quality();
  // The remembered extension (".mkv"), or ".mp4" when none (or an unknown one) is stored.
  static std::string format();
  static void remember(const std::string& quality, const std::string& format);
  // Off unless "true" is stored.
  static bool keepAllTracks();
  static void rememberKeepAllTracks(bool keep);
  // The size knob was confirmed last, rather than the quality.
  static bool fitIntoSize();
  // The size confirmed last; 25 MB when none.
  static int64_t targetSize();
  // The sizes offered, ascending: the usual ones (8, 10, 25, 50, 100, 500 MB) and
  // the few confirmed lately.
  static std::vector<int64_t> targetSizes();
  // The knob confirmed; a size is remembered only when it was the knob.
  static void rememberSize(bool fitIntoSize, int64_t bytes);
  // False unless the user chose subfolders last time.
  static bool includeSubfolders();
  static void rememberSubfolders(bool include);

  // The output formats offered, in their order.
  static const std::vector<std::string>& formats();

  // What a ladder (quality keys, in any order) offers for a wanted quality: the
  // quality itself, else the nearest lower one offered, else the lowest offered;
  // "" for an empty ladder.
  static std::string offeredQuality(const std::vector<std::string>& ladder, const std::string& wanted);
};
