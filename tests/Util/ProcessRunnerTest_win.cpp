#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "platform/OSUtil.h"
#include "process/ProcessRunner.h"
#include "support/MediaFixtures.h"

namespace {

using Lines = std::vector<std::string>;

// Every read as the job runner reads: until the runner reports completion after one,
// then what is still pending (a child that ends fast leaves several lines there).
Lines readAll(ProcessRunner& runner) {
  Lines reads;
  do reads.push_back(runner.ReadLine());
  while (!runner.IsCompleted() && reads.size() < 1000);
  for (std::string rest = runner.ReadLine(); !rest.empty() && reads.size() < 1000; rest = runner.ReadLine())
    reads.push_back(rest);
  return reads;
}

CommandLine encoder() { return CommandLine(tool_path("encoder")); }

}  // namespace

TEST(ProcessRunnerWindows, EncoderLinesEndInLineFeedsOnlyAndExitCodesArrive) {
  // The Windows build writes "\r\n"; the runner hands out "\n"-ended lines.
  ProcessRunner version(encoder().Add({"-hide_banner", "-version"}), ProcessRunner::Output::Merged);
  ASSERT_TRUE(version.Start());
  const Lines lines = readAll(version);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().rfind("ffmpeg version ", 0), 0u) << lines.front();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find('\r'), std::string::npos) << i;
    EXPECT_EQ(lines[i].back(), '\n') << i;
  }
  EXPECT_EQ(version.HowItEnded(), ProcessRunner::Ending::Exited);
  EXPECT_EQ(version.ExitCode(), 0);

  // Standard error is merged; a failing encoder's message and exit code come through.
  Lines reads;
  std::thread([&reads] {
    ProcessRunner bad(encoder().Add({"-hide_banner", "-no-such-option"}), ProcessRunner::Output::Merged);
    if (bad.Start()) reads = readAll(bad);
    reads.push_back(std::to_string(bad.ExitCode()));
  }).join();
  ASSERT_GE(reads.size(), 2u);
  EXPECT_NE(reads.front().find("no-such-option"), std::string::npos) << reads.front();
  EXPECT_EQ(reads.back(), "1");

  ProcessRunner missing(CommandLine("C:\\no\\such\\tool.exe").Add("--flag"));
  EXPECT_FALSE(missing.Start());
  EXPECT_EQ(missing.Pid(), -1);
  EXPECT_EQ(missing.HowItEnded(), ProcessRunner::Ending::FailedToStart);
}

// An argument goes through Qt's Windows command line and the child's own argument
// parsing, and must come out as exactly one, unchanged argument.
TEST(ProcessRunnerWindows, PathsReachAProgramIntactThroughTheCommandLine) {
  const std::string helper =
      OSUtil::pathJoin(QCoreApplication::applicationDirPath().toStdString(), "print_args_helper.exe");
  const Lines paths = {"C:\\My Videos\\say \"hi\" \xE8\xA7\x86\xE9\xA2\x91.mp4", "C:\\My Videos\\",
                       "D:\\a \"\" b\\\\\"c\".mkv", "%PATH% ^& 'x' $HOME.mp4"};
  for (const std::string& path : paths) {
    ProcessRunner runner(CommandLine(helper).AddPath(path).Add("-y"), ProcessRunner::Output::Merged);
    ASSERT_TRUE(runner.Start());
    Lines lines = readAll(runner);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    EXPECT_EQ(lines, (Lines{path + "\n", "-y\n"})) << path;
  }
}
