#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>

#include "platform/OSPlatform.h"
#include "platform/OSUtil.h"
#include "support/TestEnvironment.h"

TEST(OSUtilMachine, DefaultOutputFolderIsInTheVideosFolder) {
  const std::string expected = isolated_home() + "/Videos/Kovadle_Output";
  EXPECT_EQ(OSUtil::getDefaultOutputDir(), expected);
  EXPECT_TRUE(QDir(QString::fromStdString(expected)).exists());
}

TEST(OSUtilMachine, ProcessorLoadCountsIowaitAsIdleAndRoundsUp) {
  os_platform::CpuTimes before, after;
  // user nice system idle iowait irq softirq steal guest guest_nice (guest is inside user)
  ASSERT_TRUE(os_platform::parseProcStatCpuLine("cpu  100 0 100 700 100 0 0 0 900 900", before));
  ASSERT_TRUE(os_platform::parseProcStatCpuLine("cpu  150 0 150 750 151 0 0 0 950 950", after));
  EXPECT_EQ(os_platform::loadPercent(before, after), 50);  // 100 busy of 201
  EXPECT_EQ(os_platform::loadPercent(before, before), 0);
  const int load = OSUtil::getCpuUsage(100);
  EXPECT_TRUE(load >= 0 && load <= 100) << load;
}

TEST(OSUtilProcess, KillsOnlyRegisteredChildren) {
  QProcess child;
  child.start("sleep", {"30"});
  ASSERT_TRUE(child.waitForStarted(5000));
  OSUtil::killProcess(child.processId());
  EXPECT_FALSE(child.waitForFinished(300));  // not registered: survives

  // Registered, but our child's child rather than ours: survives too.
  QProcess parent;
  parent.start("sh", {"-c", "sleep 30 & echo $!; wait"});
  ASSERT_TRUE(parent.waitForReadyRead(5000));
  const int64_t grandchild = parent.readLine().trimmed().toLongLong();
  ASSERT_GT(grandchild, 0);
  OSUtil::registerChildProcess(grandchild);
  OSUtil::killProcess(grandchild);
  OSUtil::sleepMs(200);
  EXPECT_TRUE(QFile::exists(QString("/proc/%1").arg(grandchild)));
  OSUtil::unregisterChildProcess(grandchild);
  ::kill(static_cast<pid_t>(grandchild), SIGKILL);  // ours to clean up: this test started it

  OSUtil::registerChildProcess(child.processId());
  OSUtil::killProcess(child.processId());
  EXPECT_TRUE(child.waitForFinished(5000));
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
  parent.kill();
  parent.waitForFinished(5000);
}
