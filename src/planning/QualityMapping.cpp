#include "planning/QualityMapping.h"

#include <iterator>

namespace {

// One row as written below: the quality key, then the video and audio bit rates,
// the width, the frame rate and the preset.
struct RowData {
  const char* quality;
  int videoBitrate;
  int audioBitrate;
  int width;
  double videoFramerate;
  const char* preset;
};

// Every row targets 24 frames per second with the "medium" preset; only the bit
// rates and the width vary. Rows from the highest quality down.
// clang-format off
const RowData kRows4k[] = {
    {"99", 20000000, 192000, 3840, 24, "medium"},
    {"98", 18000000, 192000, 3840, 24, "medium"},
    {"97", 16000000, 192000, 3840, 24, "medium"},
    {"96", 14000000, 192000, 3840, 24, "medium"},
    {"95", 10000000, 192000, 3840, 24, "medium"},
    {"94", 9000000, 192000, 3840, 24, "medium"},
    {"93", 8000000, 192000, 3840, 24, "medium"},
    {"92", 7500000, 192000, 3840, 24, "medium"},
    {"91", 7000000, 192000, 3840, 24, "medium"},
    {"90", 6000000, 192000, 3840, 24, "medium"},
    {"89", 5800000, 192000, 2560, 24, "medium"},
    {"88", 5600000, 192000, 2560, 24, "medium"},
    {"87", 5300000, 192000, 2560, 24, "medium"},
    {"86", 5100000, 192000, 2560, 24, "medium"},
    {"85", 4900000, 192000, 2560, 24, "medium"},
    {"84", 4700000, 192000, 2560, 24, "medium"},
    {"83", 4500000, 192000, 2560, 24, "medium"},
    {"82", 4400000, 192000, 2560, 24, "medium"},
    {"81", 4300000, 192000, 2560, 24, "medium"},
    {"80", 4200000, 128000, 2560, 24, "medium"},
    {"79", 4000000, 128000, 1920, 24, "medium"},
    {"78", 3800000, 128000, 1920, 24, "medium"},
    {"77", 3500000, 128000, 1920, 24, "medium"},
    {"76", 2800000, 128000, 1920, 24, "medium"},
    {"75", 2500000, 128000, 1920, 24, "medium"},
    {"74", 2400000, 128000, 1920, 24, "medium"},
    {"73", 2300000, 128000, 1920, 24, "medium"},
    {"72", 2200000, 128000, 1920, 24, "medium"},
    {"71", 2100000, 128000, 1920, 24, "medium"},
    {"70", 2000000, 128000, 1920, 24, "medium"},
};

const RowData kRows2k[] = {
    {"99", 15000000, 192000, 2560, 24, "medium"},
    {"98", 11800000, 192000, 2560, 24, "medium"},
    {"97", 9200000, 192000, 2560, 24, "medium"},
    {"96", 7400000, 192000, 2560, 24, "medium"},
    {"95", 6200000, 192000, 2560, 24, "medium"},
    {"94", 5500000, 192000, 2560, 24, "medium"},
    {"93", 4900000, 192000, 2560, 24, "medium"},
    {"92", 4400000, 192000, 2560, 24, "medium"},
    {"91", 4300000, 192000, 2560, 24, "medium"},
    {"90", 4200000, 192000, 2560, 24, "medium"},
    {"89", 4000000, 128000, 1920, 24, "medium"},
    {"88", 3800000, 128000, 1920, 24, "medium"},
    {"87", 3500000, 128000, 1920, 24, "medium"},
    {"86", 2800000, 128000, 1920, 24, "medium"},
    {"85", 2500000, 128000, 1920, 24, "medium"},
    {"84", 2400000, 128000, 1920, 24, "medium"},
    {"83", 2300000, 128000, 1920, 24, "medium"},
    {"82", 2200000, 128000, 1920, 24, "medium"},
    {"81", 2100000, 128000, 1920, 24, "medium"},
    {"80", 2000000, 128000, 1280, 24, "medium"},
    {"79", 1950000, 96000, 1280, 24, "medium"},
    {"78", 1900000, 96000, 1280, 24, "medium"},
    {"77", 1800000, 96000, 1280, 24, "medium"},
    {"76", 1700000, 96000, 1280, 24, "medium"},
    {"75", 1600000, 96000, 1280, 24, "medium"},
    {"74", 1550000, 96000, 1280, 24, "medium"},
    {"73", 1500000, 96000, 1280, 24, "medium"},
    {"72", 1400000, 96000, 1280, 24, "medium"},
    {"71", 1300000, 96000, 1280, 24, "medium"},
    {"70", 1200000, 96000, 1280, 24, "medium"},
};

const RowData kRows1080p[] = {
    {"99", 7300000, 128000, 1920, 24, "medium"},
    {"98", 5100000, 128000, 1920, 24, "medium"},
    {"97", 3500000, 128000, 1920, 24, "medium"},
    {"96", 2800000, 128000, 1920, 24, "medium"},
    {"95", 2500000, 128000, 1920, 24, "medium"},
    {"94", 2400000, 128000, 1920, 24, "medium"},
    {"93", 2300000, 128000, 1920, 24, "medium"},
    {"92", 2200000, 128000, 1920, 24, "medium"},
    {"91", 2100000, 128000, 1920, 24, "medium"},
    {"90", 2000000, 128000, 1920, 24, "medium"},
    {"89", 1950000, 96000, 1280, 24, "medium"},
    {"88", 1900000, 96000, 1280, 24, "medium"},
    {"87", 1800000, 96000, 1280, 24, "medium"},
    {"86", 1700000, 96000, 1280, 24, "medium"},
    {"85", 1600000, 64000, 1280, 24, "medium"},
    {"84", 1550000, 64000, 1280, 24, "medium"},
    {"83", 1500000, 64000, 1280, 24, "medium"},
    {"82", 1400000, 64000, 1280, 24, "medium"},
    {"81", 1300000, 64000, 1280, 24, "medium"},
    {"80", 1200000, 64000, 1280, 24, "medium"},
};

const RowData kRows720p[] = {
    {"99", 3700000, 64000, 1280, 24, "medium"},
    {"98", 3000000, 64000, 1280, 24, "medium"},
    {"97", 2500000, 64000, 1280, 24, "medium"},
    {"96", 2000000, 64000, 1280, 24, "medium"},
    {"95", 1500000, 64000, 1280, 24, "medium"},
    {"94", 1400000, 64000, 1280, 24, "medium"},
    {"93", 1300000, 64000, 1280, 24, "medium"},
    {"92", 1200000, 64000, 1280, 24, "medium"},
    {"91", 1100000, 64000, 1280, 24, "medium"},
    {"90", 1000000, 64000, 1280, 24, "medium"},
    {"89", 950000, 48000, 854, 24, "medium"},
    {"88", 900000, 48000, 854, 24, "medium"},
    {"87", 850000, 48000, 854, 24, "medium"},
    {"86", 830000, 48000, 854, 24, "medium"},
    {"85", 820000, 48000, 854, 24, "medium"},
    {"84", 800000, 48000, 854, 24, "medium"},
    {"83", 750000, 48000, 854, 24, "medium"},
    {"82", 700000, 48000, 854, 24, "medium"},
    {"81", 650000, 48000, 854, 24, "medium"},
    {"80", 600000, 48000, 854, 24, "medium"},
};

const RowData kRows480p[] = {
    {"99", 2600000, 48000, 854, 24, "medium"},
    {"98", 2300000, 48000, 854, 24, "medium"},
    {"97", 1800000, 48000, 854, 24, "medium"},
    {"96", 1200000, 48000, 854, 24, "medium"},
    {"95", 1000000, 48000, 854, 24, "medium"},
    {"94", 900000, 48000, 854, 24, "medium"},
    {"93", 800000, 48000, 854, 24, "medium"},
    {"92", 700000, 48000, 854, 24, "medium"},
    {"91", 650000, 48000, 854, 24, "medium"},
    {"90", 600000, 48000, 854, 24, "medium"},
};
// clang-format on

struct TableData {
  const char* range;
  const RowData* rows;
  size_t count;
};

const TableData kTables[] = {
    {"4k", kRows4k, std::size(kRows4k)},          {"2k", kRows2k, std::size(kRows2k)},
    {"1080p", kRows1080p, std::size(kRows1080p)}, {"720p", kRows720p, std::size(kRows720p)},
    {"480p", kRows480p, std::size(kRows480p)},
};

}  // namespace

const QualityMapping& QualityMapping::Instance() {
  static const QualityMapping instance;
  return instance;
}

QualityMapping::QualityMapping() {
  for (const TableData& data : kTables) {
    std::map<std::string, QualityRow>& table = tables_[data.range];
    for (size_t r = 0; r < data.count; ++r) {
      const RowData& row = data.rows[r];
      table[row.quality] =
          QualityRow{row.videoBitrate, row.audioBitrate, row.width, row.videoFramerate, row.preset};
    }
  }
}

bool QualityMapping::HasTable(const std::string& range) const { return tables_.count(range) != 0; }

std::optional<QualityRow> QualityMapping::GetMapping(const std::string& range,
                                                     const std::string& quality) const {
  const auto table = tables_.find(range);
  if (table == tables_.end()) return std::nullopt;
  const auto row = table->second.find(quality);
  if (row == table->second.end()) return std::nullopt;
  return row->second;
}

std::vector<std::string> QualityMapping::GetKeys(const std::string& range) const {
  std::vector<std::string> keys;
  const auto table = tables_.find(range);
  if (table == tables_.end()) return keys;
  for (const auto& row : table->second) keys.push_back(row.first);
  return keys;
}
