#include <gtest/gtest.h>

#include <QFile>
#include <thread>

#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "Util/QtCmdRunner.h"

namespace {

// Every line the runner hands out until it reports completion after a read.
std::vector<std::string> readAll(Util::QtCmdRunner& runner) {
  std::vector<std::string> reads;
  do {
    reads.push_back(runner.ReadStdout());
  } while (!runner.IsCompleted() && reads.size() < 100);
  return reads;
}

}  // namespace

TEST(QtCmdRunner, CarriageReturnsBecomeLineEnds) {
  Util::QtCmdRunner runner("sh -c \"printf 'a\\r\\nb\\rc'\"");
  ASSERT_TRUE(runner.Start());
  EXPECT_EQ(runner.ReadStdout(), "a\n");
  EXPECT_FALSE(runner.IsCompleted());
  EXPECT_EQ(runner.ReadStdout(), "b\n");
  EXPECT_EQ(runner.ReadStdout(), "c");
  EXPECT_TRUE(runner.IsCompleted());
  EXPECT_EQ(runner.GetExitCode(), 0);
  EXPECT_TRUE(runner.FinishedSuccessfully());

  // A "\r\n" split across two reads still makes one line end; standard error is merged.
  Util::QtCmdRunner split("sh -c \"printf 'a\\r'; sleep 0.3; printf '\\nb' 1>&2; exit 3\"");
  ASSERT_TRUE(split.Start());
  EXPECT_EQ(readAll(split), (std::vector<std::string>{"a\n", "b"}));
  EXPECT_EQ(split.GetExitCode(), 3);
  EXPECT_FALSE(split.FinishedSuccessfully());
}

TEST(QtCmdRunner, SilentMissingAndKilledChildren) {
  Util::QtCmdRunner silent("true");
  ASSERT_TRUE(silent.Start());
  EXPECT_EQ(silent.ReadStdout(), "");
  EXPECT_TRUE(silent.IsCompleted());
  EXPECT_TRUE(silent.FinishedSuccessfully());

  Util::QtCmdRunner missing("/nonexistent/tool --flag");
  EXPECT_FALSE(missing.Start());
  EXPECT_EQ(missing.GetPid(), -1);
  EXPECT_EQ(missing.ReadStdout(), "");
  EXPECT_TRUE(missing.IsCompleted());
  EXPECT_EQ(missing.GetExitCode(), -1);
  EXPECT_FALSE(missing.FinishedSuccessfully());

  Util::QtCmdRunner sleeper("sleep 30");
  ASSERT_TRUE(sleeper.Start());
  const int64_t pid = sleeper.GetPid();
  ASSERT_GT(pid, 0);
  OSUtil::killProcess(pid);
  EXPECT_EQ(readAll(sleeper), std::vector<std::string>{""});
  EXPECT_FALSE(sleeper.FinishedSuccessfully());
  EXPECT_FALSE(QFile::exists(QString("/proc/%1").arg(pid)));
  EXPECT_EQ(sleeper.GetPid(), -1);
}

TEST(QtCmdRunner, ChildIsKillableOnlyWhileTheRunnerOwnsIt) {
  int64_t pid = -1;
  {
    Util::QtCmdRunner quick("true");
    ASSERT_TRUE(quick.Start());
    pid = quick.GetPid();
    readAll(quick);
  }
  // Once seen to end, the pid is no longer ours to kill, whoever gets it next.
  testing::internal::CaptureStdout();
  OSUtil::killProcess(pid);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("not killed"), std::string::npos);
}

TEST(CmdUtil, BlockingRunnerReturnsNonEmptyStdoutLines) {
  EXPECT_EQ(CmdUtil::GetOutputAsLineListQt("sh -c \"printf 'one\\r\\n\\r\\ntwo\\n\\nthree\\rfour'\""),
            (std::vector<std::string>{"one", "two", "three", "four"}));
  // Standard error is not part of the answer.
  EXPECT_EQ(CmdUtil::GetOutputAsLineListQt("sh -c \"echo out; echo err 1>&2\""),
            std::vector<std::string>{"out"});
  EXPECT_TRUE(CmdUtil::GetOutputAsLineListQt("/nonexistent/tool").empty());
  EXPECT_TRUE(CmdUtil::GetOutputAsLineListQt("").empty());

  // Quoted arguments come through as single arguments, quotes and all.
  const std::string odd = "it's \"odd\" $HOME";
  EXPECT_EQ(CmdUtil::GetOutputAsLineListQt(QString::fromStdString("printf %s " + CmdUtil::QuotePath(odd))),
            std::vector<std::string>{odd});
}

TEST(QtCmdRunner, WorksOnAThreadWithoutEventLoop) {
  std::vector<std::string> reads;
  int64_t pid = -1;
  std::thread worker([&] {
    Util::QtCmdRunner runner("sh -c \"echo one; echo two 1>&2\"");
    runner.Start();
    pid = runner.GetPid();
    reads = readAll(runner);
  });
  worker.join();
  EXPECT_GT(pid, 0);
  EXPECT_EQ(reads, (std::vector<std::string>{"one\n", "two\n", ""}));
}
