#include "planning/QualityMappingRows.h"

#include <iterator>

// The quality policy of the program. Every row targets 24 frames per second with the
// "medium" preset; only the bitrates and the width vary. The height is never stored:
// it follows the input's aspect ratio.

namespace {

// clang-format off
const QualityRowLiteral kRows4k[] = {
    {"99", R"({"VideoBitrate": "20000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"98", R"({"VideoBitrate": "18000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"97", R"({"VideoBitrate": "16000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"96", R"({"VideoBitrate": "14000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"95", R"({"VideoBitrate": "10000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"94", R"({"VideoBitrate": "9000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"93", R"({"VideoBitrate": "8000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"92", R"({"VideoBitrate": "7500000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"91", R"({"VideoBitrate": "7000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"90", R"({"VideoBitrate": "6000000", "AudioBitrate": "192000", "Width": "3840", "VideoFramerate": "24", "Preset": "medium"})"},
    {"89", R"({"VideoBitrate": "5800000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"88", R"({"VideoBitrate": "5600000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"87", R"({"VideoBitrate": "5300000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"86", R"({"VideoBitrate": "5100000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"85", R"({"VideoBitrate": "4900000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"84", R"({"VideoBitrate": "4700000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"83", R"({"VideoBitrate": "4500000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"82", R"({"VideoBitrate": "4400000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"81", R"({"VideoBitrate": "4300000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"80", R"({"VideoBitrate": "4200000", "AudioBitrate": "128000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"79", R"({"VideoBitrate": "4000000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"78", R"({"VideoBitrate": "3800000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"77", R"({"VideoBitrate": "3500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"76", R"({"VideoBitrate": "2800000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"75", R"({"VideoBitrate": "2500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"74", R"({"VideoBitrate": "2400000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"73", R"({"VideoBitrate": "2300000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"72", R"({"VideoBitrate": "2200000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"71", R"({"VideoBitrate": "2100000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"70", R"({"VideoBitrate": "2000000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
};

const QualityRowLiteral kRows2k[] = {
    {"99", R"({"VideoBitrate": "15000000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"98", R"({"VideoBitrate": "11800000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"97", R"({"VideoBitrate": "9200000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"96", R"({"VideoBitrate": "7400000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"95", R"({"VideoBitrate": "6200000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"94", R"({"VideoBitrate": "5500000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"93", R"({"VideoBitrate": "4900000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"92", R"({"VideoBitrate": "4400000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"91", R"({"VideoBitrate": "4300000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"90", R"({"VideoBitrate": "4200000", "AudioBitrate": "192000", "Width": "2560", "VideoFramerate": "24", "Preset": "medium"})"},
    {"89", R"({"VideoBitrate": "4000000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"88", R"({"VideoBitrate": "3800000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"87", R"({"VideoBitrate": "3500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"86", R"({"VideoBitrate": "2800000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"85", R"({"VideoBitrate": "2500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"84", R"({"VideoBitrate": "2400000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"83", R"({"VideoBitrate": "2300000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"82", R"({"VideoBitrate": "2200000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"81", R"({"VideoBitrate": "2100000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"80", R"({"VideoBitrate": "2000000", "AudioBitrate": "128000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"79", R"({"VideoBitrate": "1950000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"78", R"({"VideoBitrate": "1900000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"77", R"({"VideoBitrate": "1800000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"76", R"({"VideoBitrate": "1700000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"75", R"({"VideoBitrate": "1600000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"74", R"({"VideoBitrate": "1550000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"73", R"({"VideoBitrate": "1500000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"72", R"({"VideoBitrate": "1400000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"71", R"({"VideoBitrate": "1300000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"70", R"({"VideoBitrate": "1200000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
};

const QualityRowLiteral kRows1080p[] = {
    {"99", R"({"VideoBitrate": "7300000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"98", R"({"VideoBitrate": "5100000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"97", R"({"VideoBitrate": "3500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"96", R"({"VideoBitrate": "2800000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"95", R"({"VideoBitrate": "2500000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"94", R"({"VideoBitrate": "2400000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"93", R"({"VideoBitrate": "2300000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"92", R"({"VideoBitrate": "2200000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"91", R"({"VideoBitrate": "2100000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"90", R"({"VideoBitrate": "2000000", "AudioBitrate": "128000", "Width": "1920", "VideoFramerate": "24", "Preset": "medium"})"},
    {"89", R"({"VideoBitrate": "1950000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"88", R"({"VideoBitrate": "1900000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"87", R"({"VideoBitrate": "1800000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"86", R"({"VideoBitrate": "1700000", "AudioBitrate": "96000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"85", R"({"VideoBitrate": "1600000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"84", R"({"VideoBitrate": "1550000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"83", R"({"VideoBitrate": "1500000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"82", R"({"VideoBitrate": "1400000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"81", R"({"VideoBitrate": "1300000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"80", R"({"VideoBitrate": "1200000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
};

const QualityRowLiteral kRows720p[] = {
    {"99", R"({"VideoBitrate": "3700000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"98", R"({"VideoBitrate": "3000000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"97", R"({"VideoBitrate": "2500000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"96", R"({"VideoBitrate": "2000000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"95", R"({"VideoBitrate": "1500000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"94", R"({"VideoBitrate": "1400000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"93", R"({"VideoBitrate": "1300000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"92", R"({"VideoBitrate": "1200000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"91", R"({"VideoBitrate": "1100000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"90", R"({"VideoBitrate": "1000000", "AudioBitrate": "64000", "Width": "1280", "VideoFramerate": "24", "Preset": "medium"})"},
    {"89", R"({"VideoBitrate": "950000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"88", R"({"VideoBitrate": "900000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"87", R"({"VideoBitrate": "850000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"86", R"({"VideoBitrate": "830000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"85", R"({"VideoBitrate": "820000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"84", R"({"VideoBitrate": "800000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"83", R"({"VideoBitrate": "750000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"82", R"({"VideoBitrate": "700000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"81", R"({"VideoBitrate": "650000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"80", R"({"VideoBitrate": "600000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
};

const QualityRowLiteral kRows480p[] = {
    {"99", R"({"VideoBitrate": "2600000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"98", R"({"VideoBitrate": "2300000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"97", R"({"VideoBitrate": "1800000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"96", R"({"VideoBitrate": "1200000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"95", R"({"VideoBitrate": "1000000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"94", R"({"VideoBitrate": "900000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"93", R"({"VideoBitrate": "800000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"92", R"({"VideoBitrate": "700000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"91", R"({"VideoBitrate": "650000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
    {"90", R"({"VideoBitrate": "600000", "AudioBitrate": "48000", "Width": "854", "VideoFramerate": "24", "Preset": "medium"})"},
};

const QualityTableLiteral kTables[] = {
    {"4k", kRows4k, std::size(kRows4k)},
    {"2k", kRows2k, std::size(kRows2k)},
    {"1080p", kRows1080p, std::size(kRows1080p)},
    {"720p", kRows720p, std::size(kRows720p)},
    {"480p", kRows480p, std::size(kRows480p)},
};
// clang-format on

}  // namespace

const QualityTableLiteral* qualityTableLiterals(size_t* count) {
  *count = std::size(kTables);
  return kTables;
}
