#include <gtest/gtest.h>

#include <string>

#include "planning/QualityMapping.h"

namespace {
using Row = std::map<std::string, std::string>;
long long value(const Row& row, const char* key) { return std::stoll(row.at(key)); }
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
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.range);
    const std::vector<std::string> keys = m.GetKeys(s.range);
    ASSERT_EQ(keys.size(), static_cast<size_t>(100 - s.lowest));
    long long totals[3] = {0, 0, 0};
    Row previous;
    for (size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(keys[i], std::to_string(s.lowest + static_cast<int>(i)));
      const Row row = m.GetMapping(s.range, keys[i]).value_or(QualityRow()).ToMap();
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
  }
}

TEST(QualityMapping, IrregularRowsAndMissingKeys) {
  const QualityMapping& m = QualityMapping::Instance();
  const auto text = [&m](const char* range, const char* quality) {
    Row row = m.GetMapping(range, quality).value_or(QualityRow()).ToMap();
    return row["VideoBitrate"] + " " + row["AudioBitrate"] + " " + row["Width"];
  };
  EXPECT_EQ(text("4k", "80"), "4200000 128000 2560");  // audio drops a row early
  EXPECT_EQ(text("2k", "80"), "2000000 128000 1280");  // width drops a row early
  EXPECT_EQ(text("480p", "99"), "2600000 48000 854");
  EXPECT_FALSE(m.GetMapping("480p", "85").has_value());
  EXPECT_EQ(m.GetKeys("480p").size(), 10u);  // the failed lookup added nothing
  EXPECT_TRUE(m.GetKeys("b4k").empty() && !m.GetMapping("s480p", "95").has_value());
}
