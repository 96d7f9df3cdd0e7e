#include <gtest/gtest.h>

#include <QFile>

#include "platform/OSUtil.h"
#include "process/ProcessRunner.h"

namespace {

using Lines = std::vector<std::string>;
using Ending = ProcessRunner::Ending;

CommandLine shell(const char* script) { return CommandLine("sh").Add("-c").Add(script); }

// Every read until the runner reports completion after one, as the job runner reads.
Lines readAll(ProcessRunner& runner) {
  Lines reads;
  do reads.push_back(runner.ReadLine());
  while (!runner.IsCompleted() && reads.size() < 100);
  return reads;
}

}  // namespace

// The encoder's judge needs to know: ended on its own (with a code), ended by us, ended
// by something else, or never ran.
TEST(ProcessRunner, TellsHowTheChildEnded) {
  // A "\r\n" split across two reads still ends one line; standard error is merged.
  ProcessRunner exits(shell("printf 'a\\r'; sleep 0.3; printf '\\nb' 1>&2; exit 3"),
                      ProcessRunner::Output::Merged);
  ASSERT_TRUE(exits.Start());
  EXPECT_EQ(readAll(exits), (Lines{"a\n", "b"}));
  EXPECT_EQ(exits.HowItEnded(), Ending::Exited);
  EXPECT_EQ(exits.ExitCode(), 3);

  ProcessRunner sleeper(CommandLine("sleep").Add("30"));
  ASSERT_TRUE(sleeper.Start());
  const int64_t pid = sleeper.Pid();
  ASSERT_GT(pid, 0);
  OSUtil::killProcess(pid);
  EXPECT_EQ(readAll(sleeper), Lines{""});
  EXPECT_EQ(sleeper.HowItEnded(), Ending::Killed);
  EXPECT_FALSE(QFile::exists(QString("/proc/%1").arg(pid)));
  // Once the runner has seen it end, the number is no longer ours to kill.
  testing::internal::CaptureStdout();
  OSUtil::killProcess(pid);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("not killed"), std::string::npos);

  ProcessRunner late(CommandLine("sleep").Add("30"));
  ASSERT_TRUE(late.Start());
  EXPECT_TRUE(late.RunToEnd(200).isEmpty());
  EXPECT_EQ(late.HowItEnded(), Ending::Killed);

  ProcessRunner crashes(shell("kill -9 $$"));
  ASSERT_TRUE(crashes.Start());
  readAll(crashes);
  EXPECT_EQ(crashes.HowItEnded(), Ending::Crashed);

  ProcessRunner missing(CommandLine("/nonexistent/tool").Add("--flag"));
  EXPECT_FALSE(missing.Start() || missing.Pid() != -1);
  EXPECT_EQ(readAll(missing), Lines{""});
  EXPECT_TRUE(missing.RunToEnd(1000).isEmpty());
  EXPECT_EQ(missing.HowItEnded(), Ending::FailedToStart);
  EXPECT_EQ(missing.ExitCode(), -1);
}

TEST(ProcessRunner, LinesWhileItRunsAndOfAWholeRun) {
  ProcessRunner runner(shell("printf 'a\\r\\nb\\rc'"), ProcessRunner::Output::Merged);
  ASSERT_TRUE(runner.Start());
  EXPECT_EQ(runner.ReadLine(), "a\n");
  EXPECT_EQ(runner.ReadLine(), "b\n");
  EXPECT_FALSE(runner.IsCompleted());
  EXPECT_EQ(runner.ReadLine(), "c");
  EXPECT_TRUE(runner.IsCompleted());
  ProcessRunner silent(CommandLine("true"));
  ASSERT_TRUE(silent.Start());
  EXPECT_EQ(readAll(silent), Lines{""});

  // Standard output only, as non-empty lines; every argument reaches the child as it is.
  ProcessRunner whole(shell("printf 'one\\r\\n\\r\\ntwo\\n\\nthree\\rfour'; echo err 1>&2"));
  ASSERT_TRUE(whole.Start());
  EXPECT_EQ(ProcessRunner::Lines(whole.RunToEnd(30000)), (Lines{"one", "two", "three", "four"}));
  ProcessRunner printf(CommandLine("printf").Add("%s|").Add("a \"b\" $HOME").AddPath("c d"));
  ASSERT_TRUE(printf.Start());
  EXPECT_EQ(ProcessRunner::Lines(printf.RunToEnd(30000)), Lines{"a \"b\" $HOME|c d|"});
}
