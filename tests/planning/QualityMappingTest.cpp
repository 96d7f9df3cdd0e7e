#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "planning/QualityMapping.h"

namespace {
long long value(const QualityRow& row, const char* key) { return std::stoll(row.at(key)); }
}  // namespace

// Column totals catch a slipped digit in any row; the ordering checks catch swapped rows.
TEST(QualityMapping, HoldsEveryTabledRow) {
  struct Shape {
    const char* range;
    int lowest;
    long long totals[3];
  };
  const Shape shapes[] = {{"4k", 70, {191900000, 5056000, 83200}},
                          {"2k", 70, {116400000, 4160000, 56960}},
                          {"1080p", 80, {48100000, 2048000, 32000}},
                          {"720p", 80, {26550000, 1120000, 21340}},
                          {"480p", 90, {12550000, 480000, 8540}}};
  const char* columns[] = {"VideoBitrate", "AudioBitrate", "Width"};
  const QualityMapping& m = QualityMapping::Instance();
  size_t rows = 0;
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.range);
    const std::vector<std::string> keys = m.GetKeys(s.range);
    ASSERT_EQ(keys.size(), static_cast<size_t>(100 - s.lowest));
    long long totals[3] = {0, 0, 0};
    QualityRow previous;
    for (size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(keys[i], std::to_string(s.lowest + static_cast<int>(i)));
      const QualityRow row = m.GetMapping(s.range, keys[i]);
      ASSERT_EQ(row.size(), 5u);
      EXPECT_EQ(row.at("VideoFramerate") + " " + row.at("Preset"), "24 medium");
      for (int c = 0; c < 3; ++c) totals[c] += value(row, columns[c]);
      if (i > 0) {
        for (const char* column : columns) EXPECT_LE(value(previous, column), value(row, column)) << keys[i];
        EXPECT_NE(value(previous, "VideoBitrate"), value(row, "VideoBitrate"));
      }
      previous = row;
    }
    for (int c = 0; c < 3; ++c) EXPECT_EQ(totals[c], s.totals[c]) << columns[c];
    rows += keys.size();
  }
  EXPECT_EQ(rows, 110u);
}

TEST(QualityMapping, PerClassLookupsReadTheirOwnTable) {
  using Lookup = QualityRow (QualityMapping::*)(const std::string&) const;
  const std::tuple<Lookup, const char*, const char*> spots[] = {
      {&QualityMapping::Get4kMapping, "99", "20000000 192000 3840"},
      {&QualityMapping::Get4kMapping, "81", "4300000 192000 2560"},
      {&QualityMapping::Get4kMapping, "80", "4200000 128000 2560"},  // audio drops a row early
      {&QualityMapping::Get4kMapping, "70", "2000000 128000 1920"},
      {&QualityMapping::Get2kMapping, "81", "2100000 128000 1920"},
      {&QualityMapping::Get2kMapping, "80", "2000000 128000 1280"},  // width drops a row early
      {&QualityMapping::Get2kMapping, "79", "1950000 96000 1280"},
      {&QualityMapping::Get1080pMapping, "95", "2500000 128000 1920"},
      {&QualityMapping::Get1080pMapping, "85", "1600000 64000 1280"},
      {&QualityMapping::Get720pMapping, "90", "1000000 64000 1280"},
      {&QualityMapping::Get720pMapping, "85", "820000 48000 854"},
      {&QualityMapping::Get480pMapping, "99", "2600000 48000 854"},
      {&QualityMapping::Get480pMapping, "85", "  "},  // no such row: empty, and no row added
  };
  const QualityMapping& m = QualityMapping::Instance();
  for (const auto& [lookup, quality, expected] : spots) {
    QualityRow row = (m.*lookup)(quality);
    EXPECT_EQ(row["VideoBitrate"] + " " + row["AudioBitrate"] + " " + row["Width"], expected) << quality;
  }
  EXPECT_EQ(m.Get480pKeys().size(), 10u);

  using Keys = std::vector<std::string> (QualityMapping::*)() const;
  const std::pair<Keys, const char*> listings[] = {{&QualityMapping::Get4kKeys, "4k"},
                                                   {&QualityMapping::Get2kKeys, "2k"},
                                                   {&QualityMapping::Get1080pKeys, "1080p"},
                                                   {&QualityMapping::Get720pKeys, "720p"},
                                                   {&QualityMapping::Get480pKeys, "480p"}};
  for (const auto& [keys, range] : listings) EXPECT_EQ((m.*keys)(), m.GetKeys(range)) << range;
  for (const char* range : {"b4k", "s480p", "1080P"}) {
    EXPECT_FALSE(m.HasTable(range));
    EXPECT_TRUE(m.GetKeys(range).empty() && m.GetMapping(range, "95").empty()) << range;
  }
}
