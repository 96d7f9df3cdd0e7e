#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "planning/QualityRow.h"

// The quality tables of the five supported resolution classes ("4k", "2k", "1080p",
// "720p", "480p"), the whole of the program's quality policy; built once and only
// read afterwards.
class QualityMapping {
 public:
  // Builds the tables on the first call, once even when first called from several
  // threads at the same time.
  static const QualityMapping& Instance();

  // Any other class name has no table, no keys and no rows.
  bool HasTable(const std::string& range) const;
  // The row of a quality key; none when the table has no such key.
  std::optional<QualityRow> GetMapping(const std::string& range, const std::string& quality) const;
  // The table's quality keys, ascending ("70" ... "99").
  std::vector<std::string> GetKeys(const std::string& range) const;

 private:
  QualityMapping();

  std::map<std::string, std::map<std::string, QualityRow>> tables_;
};
