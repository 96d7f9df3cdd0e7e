#include "planning/QualityMapping.h"

#include "planning/QualityMappingRows.h"
#include "text/SimpleJson.h"

const QualityMapping& QualityMapping::Instance() {
  static const QualityMapping instance;
  return instance;
}

QualityMapping::QualityMapping() {
  size_t table_count = 0;
  const QualityTableLiteral* tables = qualityTableLiterals(&table_count);
  for (size_t t = 0; t < table_count; ++t) {
    std::map<std::string, QualityRow>& table = tables_[tables[t].range];
    for (size_t r = 0; r < tables[t].count; ++r) {
      table[tables[t].rows[r].quality] = SimpleJson::to_map(tables[t].rows[r].json);
    }
  }
}

bool QualityMapping::HasTable(const std::string& range) const { return tables_.count(range) != 0; }

QualityRow QualityMapping::GetMapping(const std::string& range, const std::string& quality) const {
  const auto table = tables_.find(range);
  if (table == tables_.end()) return QualityRow();
  const auto row = table->second.find(quality);
  return row == table->second.end() ? QualityRow() : row->second;
}

std::vector<std::string> QualityMapping::GetKeys(const std::string& range) const {
  std::vector<std::string> keys;
  const auto table = tables_.find(range);
  if (table == tables_.end()) return keys;
  for (const auto& row : table->second) keys.push_back(row.first);
  return keys;
}

QualityRow QualityMapping::Get4kMapping(const std::string& quality) const {
  return GetMapping("4k", quality);
}
QualityRow QualityMapping::Get2kMapping(const std::string& quality) const {
  return GetMapping("2k", quality);
}
QualityRow QualityMapping::Get1080pMapping(const std::string& quality) const {
  return GetMapping("1080p", quality);
}
QualityRow QualityMapping::Get720pMapping(const std::string& quality) const {
  return GetMapping("720p", quality);
}
QualityRow QualityMapping::Get480pMapping(const std::string& quality) const {
  return GetMapping("480p", quality);
}

std::vector<std::string> QualityMapping::Get4kKeys() const { return GetKeys("4k"); }
std::vector<std::string> QualityMapping::Get2kKeys() const { return GetKeys("2k"); }
std::vector<std::string> QualityMapping::Get1080pKeys() const { return GetKeys("1080p"); }
std::vector<std::string> QualityMapping::Get720pKeys() const { return GetKeys("720p"); }
std::vector<std::string> QualityMapping::Get480pKeys() const { return GetKeys("480p"); }
