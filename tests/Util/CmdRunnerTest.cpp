#include <gtest/gtest.h>

#include <QFile>

#include "platform/OSUtil.h"
#include "process/CmdUtil.h"
#include "process/QtCmdRunner.h"

namespace {

// Every read until the runner reports completion after one, as the job runner reads.
std::vector<std::string> readAll(const char* cmd, Util::QtCmdRunner* given = nullptr) {
  Util::QtCmdRunner own(cmd);
  Util::QtCmdRunner& runner = given ? *given : own;
  if (!given) runner.Start();
  std::vector<std::string> reads;
  do reads.push_back(runner.ReadStdout());
  while (!runner.IsCompleted() && reads.size() < 100);
  return reads;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(QtCmdRunner, LinesExitCodesAndCompletion) {
  Util::QtCmdRunner runner("sh -c \"printf 'a\\r\\nb\\rc'\"");
  ASSERT_TRUE(runner.Start());
  EXPECT_EQ(runner.ReadStdout(), "a\n");
  EXPECT_EQ(runner.ReadStdout(), "b\n");
  EXPECT_FALSE(runner.IsCompleted());
  EXPECT_EQ(runner.ReadStdout(), "c");
  EXPECT_TRUE(runner.IsCompleted());
  EXPECT_TRUE(runner.FinishedSuccessfully());

  EXPECT_EQ(readAll("true"), Lines{""});
  // A "\r\n" split across two reads still ends one line; standard error is merged.
  Util::QtCmdRunner split("sh -c \"printf 'a\\r'; sleep 0.3; printf '\\nb' 1>&2; exit 3\"");
  ASSERT_TRUE(split.Start());
  EXPECT_EQ(readAll("", &split), (Lines{"a\n", "b"}));
  EXPECT_TRUE(split.GetExitCode() == 3 && !split.FinishedSuccessfully());

  Util::QtCmdRunner missing("/nonexistent/tool --flag");
  EXPECT_FALSE(missing.Start() || missing.GetPid() != -1);
  EXPECT_EQ(readAll("", &missing), Lines{""});
  EXPECT_EQ(missing.GetExitCode(), -1);
}

TEST(QtCmdRunner, PidIsKillableWhileTheRunnerOwnsTheChild) {
  Util::QtCmdRunner sleeper("sleep 30");
  ASSERT_TRUE(sleeper.Start());
  const int64_t pid = sleeper.GetPid();
  ASSERT_GT(pid, 0);
  OSUtil::killProcess(pid);
  EXPECT_EQ(readAll("", &sleeper), Lines{""});
  EXPECT_FALSE(sleeper.FinishedSuccessfully());
  EXPECT_FALSE(QFile::exists(QString("/proc/%1").arg(pid)));

  // Once the runner has seen it end, the number is no longer ours to kill.
  testing::internal::CaptureStdout();
  OSUtil::killProcess(pid);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("not killed"), std::string::npos);
}

// Awkward names through both runners are checked with the real probe and encoder.
TEST(CmdUtil, BlockingRunnerReturnsNonEmptyStdoutLines) {
  EXPECT_EQ(CmdUtil::GetOutputAsLineListQt("sh -c \"printf 'one\\r\\n\\r\\ntwo\\n\\nthree\\rfour'\""),
            (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(CmdUtil::GetOutputAsLineListQt("sh -c \"echo out; echo err 1>&2\""), Lines{"out"});
  EXPECT_TRUE(CmdUtil::GetOutputAsLineListQt("/nonexistent/tool").empty());
}
