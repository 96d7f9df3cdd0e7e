#include <gtest/gtest.h>

#include "RecordsFromText.h"
#include "planning/InputAcceptance.h"

// The window's add flow refuses real generated files for every rule; these are the
// cases no such file reaches.
TEST(InputAcceptance, NameRulesComeFirstAndAnUnknownWidthIsRefused) {
  const MediaInfo fine = media_info_from({{"HasVideo", "true"}, {"HasAudio", "true"}, {"Width", "1920"}});
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/a.qsv", MediaInfo{}),
            "qsv is a private format of iQiyi and is currently not supported");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v.qlv/movie", fine), "");  // a dot in a folder is no extension
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/x.mp4", media_info_from({{"HasVideo", "true"}, {"Width", "N/A"}})),
            "Video width less than 480 are not supported");
}
