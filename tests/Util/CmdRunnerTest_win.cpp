#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "platform/OSUtil.h"
#include "process/CmdUtil.h"
#include "process/QtCmdRunner.h"
#include "support/MediaFixtures.h"

namespace {

using Lines = std::vector<std::string>;

// Every read as the job runner reads: until the runner reports completion after one,
// then what is still pending (a child that ends fast leaves several lines there).
Lines readAll(Util::QtCmdRunner& runner) {
  Lines reads;
  do reads.push_back(runner.ReadStdout());
  while (!runner.IsCompleted() && reads.size() < 1000);
  for (std::string rest = runner.ReadStdout(); !rest.empty() && reads.size() < 1000;
       rest = runner.ReadStdout())
    reads.push_back(rest);
  return reads;
}

std::string encoder() { return CmdUtil::QuotePath(tool_path("encoder")); }

}  // namespace

TEST(QtCmdRunnerWindows, EncoderLinesEndInLineFeedsOnlyAndExitCodesArrive) {
  // The Windows build writes "\r\n"; the runner hands out "\n"-ended lines.
  Util::QtCmdRunner version((encoder() + " -hide_banner -version").c_str());
  ASSERT_TRUE(version.Start());
  const Lines lines = readAll(version);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().rfind("ffmpeg version ", 0), 0u) << lines.front();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find('\r'), std::string::npos) << i;
    EXPECT_EQ(lines[i].back(), '\n') << i;
  }
  EXPECT_TRUE(version.FinishedSuccessfully());

  // Standard error is merged; a failing encoder's message and exit code come through.
  Lines reads;
  std::thread([&reads] {
    Util::QtCmdRunner bad((encoder() + " -hide_banner -no-such-option").c_str());
    if (bad.Start()) reads = readAll(bad);
    reads.push_back(std::to_string(bad.GetExitCode()));
  }).join();
  ASSERT_GE(reads.size(), 2u);
  EXPECT_NE(reads.front().find("no-such-option"), std::string::npos) << reads.front();
  EXPECT_EQ(reads.back(), "1");

  Util::QtCmdRunner missing("C:\\no\\such\\tool.exe --flag");
  EXPECT_FALSE(missing.Start());
  EXPECT_EQ(missing.GetPid(), -1);
}

// A quoted path goes through QuotePath, the split, Qt's Windows command line and the
// child's own argument parsing, and must come out as exactly one, unchanged argument.
TEST(QtCmdRunnerWindows, QuotedPathsReachAProgramIntactThroughTheCommandLine) {
  const std::string helper = CmdUtil::QuotePath(
      OSUtil::pathJoin(QCoreApplication::applicationDirPath().toStdString(), "print_args_helper.exe"));
  const Lines paths = {"C:\\My Videos\\say \"hi\" \xE8\xA7\x86\xE9\xA2\x91.mp4", "C:\\My Videos\\",
                       "D:\\a \"\" b\\\\\"c\".mkv", "%PATH% ^& 'x' $HOME.mp4"};
  for (const std::string& path : paths) {
    Util::QtCmdRunner runner((helper + " " + CmdUtil::QuotePath(path) + " -y").c_str());
    ASSERT_TRUE(runner.Start());
    Lines lines = readAll(runner);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    EXPECT_EQ(lines, (Lines{path + "\n", "-y\n"})) << path;
  }
}
