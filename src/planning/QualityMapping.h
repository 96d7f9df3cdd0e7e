#pragma once

#include <map>
#include <string>
#include <vector>

// Target parameters of one quality: "VideoBitrate", "AudioBitrate", "Width",
// "VideoFramerate", "Preset".
using QualityRow = std::map<std::string, std::string>;

// The quality tables of the five supported resolution classes, built once from the
// row literals compiled into the program and only read afterwards.
class QualityMapping {
 public:
  // Builds the tables on the first call, once even when first called from several
  // threads at the same time.
  static const QualityMapping& Instance();

  // The row of a quality key; an empty row when the table has no such key.
  QualityRow Get4kMapping(const std::string& quality) const;
  QualityRow Get2kMapping(const std::string& quality) const;
  QualityRow Get1080pMapping(const std::string& quality) const;
  QualityRow Get720pMapping(const std::string& quality) const;
  QualityRow Get480pMapping(const std::string& quality) const;

  // The table's quality keys, ascending ("70" ... "99").
  std::vector<std::string> Get4kKeys() const;
  std::vector<std::string> Get2kKeys() const;
  std::vector<std::string> Get1080pKeys() const;
  std::vector<std::string> Get720pKeys() const;
  std::vector<std::string> Get480pKeys() const;

  // The same by class name ("4k", "2k", "1080p", "720p", "480p"); any other name
  // has no table, no keys and only empty rows.
  bool HasTable(const std::string& range) const;
  QualityRow GetMapping(const std::string& range, const std::string& quality) const;
  std::vector<std::string> GetKeys(const std::string& range) const;

 private:
  QualityMapping();

  std::map<std::string, std::map<std::string, QualityRow>> tables_;
};
