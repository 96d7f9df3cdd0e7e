#include <gtest/gtest.h>

#include <string>

#include "planning/QualityMapping.h"

namespace {

struct TableShape {
  const char* range;
  int lowest_quality;
  size_t rows;
  long long video_sum, audio_sum, width_sum;  // totals of the tabled columns
};

const TableShape kShapes[] = {
    {"4k", 70, 30, 191900000, 5056000, 83200},   {"2k", 70, 30, 116400000, 4160000, 56960},
    {"1080p", 80, 20, 48100000, 2048000, 32000}, {"720p", 80, 20, 26550000, 1120000, 21340},
    {"480p", 90, 10, 12550000, 480000, 8540},
};

long long number(const QualityRow& row, const char* key) { return std::stoll(row.at(key)); }

void expectRow(const QualityRow& row, const char* video, const char* audio, const char* width) {
  EXPECT_EQ(row, (QualityRow{{"VideoBitrate", video},
                             {"AudioBitrate", audio},
                             {"Width", width},
                             {"VideoFramerate", "24"},
                             {"Preset", "medium"}}));
}

}  // namespace

// The totals catch a slipped digit in any row; the ordering checks catch swapped rows.
TEST(QualityMapping, HoldsEveryTabledRow) {
  const QualityMapping& mapping = QualityMapping::Instance();
  size_t total_rows = 0;
  for (const TableShape& shape : kShapes) {
    SCOPED_TRACE(shape.range);
    const std::vector<std::string> keys = mapping.GetKeys(shape.range);
    ASSERT_EQ(keys.size(), shape.rows);
    long long video_sum = 0, audio_sum = 0, width_sum = 0;
    QualityRow previous;
    for (size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(keys[i], std::to_string(shape.lowest_quality + static_cast<int>(i)));
      const QualityRow row = mapping.GetMapping(shape.range, keys[i]);
      ASSERT_EQ(row.size(), 5u) << keys[i];
      EXPECT_EQ(row.at("VideoFramerate"), "24");
      EXPECT_EQ(row.at("Preset"), "medium");
      video_sum += number(row, "VideoBitrate");
      audio_sum += number(row, "AudioBitrate");
      width_sum += number(row, "Width");
      if (!previous.empty()) {
        EXPECT_LT(number(previous, "VideoBitrate"), number(row, "VideoBitrate")) << keys[i];
        EXPECT_LE(number(previous, "AudioBitrate"), number(row, "AudioBitrate")) << keys[i];
        EXPECT_LE(number(previous, "Width"), number(row, "Width")) << keys[i];
      }
      previous = row;
    }
    EXPECT_EQ(video_sum, shape.video_sum);
    EXPECT_EQ(audio_sum, shape.audio_sum);
    EXPECT_EQ(width_sum, shape.width_sum);
    total_rows += keys.size();
  }
  EXPECT_EQ(total_rows, 110u);
}

TEST(QualityMapping, PerClassLookupsReadTheirOwnTable) {
  const QualityMapping& m = QualityMapping::Instance();
  expectRow(m.Get4kMapping("99"), "20000000", "192000", "3840");
  expectRow(m.Get4kMapping("90"), "6000000", "192000", "3840");
  expectRow(m.Get4kMapping("81"), "4300000", "192000", "2560");
  expectRow(m.Get4kMapping("80"), "4200000", "128000", "2560");  // audio drops a row early
  expectRow(m.Get4kMapping("70"), "2000000", "128000", "1920");
  expectRow(m.Get2kMapping("99"), "15000000", "192000", "2560");
  expectRow(m.Get2kMapping("81"), "2100000", "128000", "1920");
  expectRow(m.Get2kMapping("80"), "2000000", "128000", "1280");  // width drops a row early
  expectRow(m.Get2kMapping("79"), "1950000", "96000", "1280");
  expectRow(m.Get1080pMapping("95"), "2500000", "128000", "1920");
  expectRow(m.Get1080pMapping("89"), "1950000", "96000", "1280");
  expectRow(m.Get1080pMapping("85"), "1600000", "64000", "1280");
  expectRow(m.Get720pMapping("90"), "1000000", "64000", "1280");
  expectRow(m.Get720pMapping("85"), "820000", "48000", "854");
  expectRow(m.Get480pMapping("99"), "2600000", "48000", "854");
  expectRow(m.Get480pMapping("90"), "600000", "48000", "854");

  EXPECT_EQ(m.Get4kKeys(), m.GetKeys("4k"));
  EXPECT_EQ(m.Get2kKeys().front(), "70");
  EXPECT_EQ(m.Get2kKeys().back(), "99");
  EXPECT_EQ(m.Get1080pKeys().front(), "80");
  EXPECT_EQ(m.Get720pKeys().size(), 20u);
  EXPECT_EQ(m.Get480pKeys().front(), "90");
}

TEST(QualityMapping, UnknownKeysAndClassesGiveEmptyRows) {
  const QualityMapping& m = QualityMapping::Instance();
  EXPECT_TRUE(m.Get480pMapping("85").empty());
  EXPECT_EQ(m.Get480pKeys().size(), 10u);  // the lookup did not add a row
  EXPECT_TRUE(m.Get4kMapping("100").empty());
  EXPECT_TRUE(m.Get1080pMapping("").empty());
  for (const char* range : {"b4k", "s480p", "", "1080P"}) {
    EXPECT_FALSE(m.HasTable(range)) << range;
    EXPECT_TRUE(m.GetKeys(range).empty()) << range;
    EXPECT_TRUE(m.GetMapping(range, "95").empty()) << range;
  }
}
