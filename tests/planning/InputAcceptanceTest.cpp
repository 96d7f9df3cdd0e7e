#include <gtest/gtest.h>

#include "planning/InputAcceptance.h"

namespace {
MediaInfo probed(const std::string& video, const std::string& audio, const std::string& width) {
  return {{"HasVideo", video}, {"HasAudio", audio}, {"Width", width}};
}
}  // namespace

TEST(InputAcceptance, RulesApplyInOrderWithExactBounds) {
  const MediaInfo fine = probed("true", "true", "1920");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/a.qlv", fine),
            "qlv is in Tencent's private format and currently not supported");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/a.qsv", probed("false", "false", "0")),
            "qsv is a private format of iQiyi and is currently not supported");
  // Extensions are case-sensitive, and a dot in a folder name is no extension.
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/a.QLV", fine), "");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v.qlv/movie", fine), "");

  EXPECT_EQ(InputAcceptance::RefusalOf("/v/t.txt", MediaInfo{}), "Non video files are not supported");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/a.m4a", probed("false", "true", "5000")),
            "Not support audio only file");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/w.mp4", probed("true", "false", "4501")),
            "Resolution larger than 4k are not supported (4k and below are supported)");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/n.mp4", probed("true", "false", "479")),
            "Video width less than 480 are not supported");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/x.mp4", probed("true", "false", "N/A")),
            "Video width less than 480 are not supported");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/lo.mp4", probed("true", "false", "480")), "");
  EXPECT_EQ(InputAcceptance::RefusalOf("/v/hi.mp4", probed("true", "false", "4500")), "");
}
