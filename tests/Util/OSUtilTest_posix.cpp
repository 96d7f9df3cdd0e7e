#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <fstream>

#include "Util/OSUtil.h"
#include "Util/platform/OSPlatform.h"
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

TEST(OSUtilPaths, LongNamesAreCutAtACharacterToFitTheFileSystem) {
  const std::string dir = make_temp_folder("long-names");
  const std::string e_acute = "\xC3\xA9";
  std::string accented;
  for (int i = 0; i < 125; ++i) accented += e_acute;
  // Base name, and the base the output keeps: 255 bytes with "_output.mp4" (11).
  const std::pair<std::string, std::string> cases[] = {{std::string(250, 'a'), std::string(244, 'a')},
                                                       {accented, accented.substr(0, 244)},
                                                       {"x" + accented, "x" + accented.substr(0, 242)},
                                                       {"short", "short"}};
  for (const auto& [base, kept] : cases) {
    const std::string path = OSUtil::getOutputFilePath(dir, base + ".mkv");
    EXPECT_EQ(path, dir + "/" + kept + "_output.mp4") << base;
    QFile made(QString::fromUtf8(path.c_str()));
    EXPECT_TRUE(made.open(QIODevice::WriteOnly)) << path;
  }
  // A numbered name is cut further, and stays free of the first.
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, std::string(250, 'a') + ".mkv"),
            dir + "/" + std::string(242, 'a') + "_output_2.mp4");
}

TEST(OSUtilPaths, FileKindsFollowLinksAndFindNamesThatAreNotUtf8) {
  const std::string dir = make_temp_folder("kinds");
  const QString q = QString::fromStdString(dir);
  QFile(q + "/clip.mp4").open(QIODevice::WriteOnly);
  QFile::link(q + "/clip.mp4", q + "/link.mp4");
  QFile::link(q + "/gone.mp4", q + "/dangling.mp4");
  ASSERT_EQ(::mkfifo((dir + "/fifo.mp4").c_str(), 0600), 0);
  // Bytes that are not UTF-8, in a folder's name and a file's: Qt sees U+FFFD for each.
  const std::string raw_folder = dir + "/\xFF folder", raw_file = raw_folder + "/\xFE\xFF bad.mp4";
  ASSERT_EQ(::mkdir(raw_folder.c_str(), 0700), 0);
  ASSERT_TRUE(std::ofstream(raw_file).good());
  const std::string shown = dir + "/\xEF\xBF\xBD folder/\xEF\xBF\xBD\xEF\xBF\xBD bad.mp4";
  using Kind = OSUtil::FileKind;
  const std::pair<std::string, Kind> cases[] = {{dir + "/clip.mp4", Kind::Regular},
                                                {dir + "/link.mp4", Kind::Regular},
                                                {dir, Kind::Folder},
                                                {dir + "/fifo.mp4", Kind::Special},
                                                {"/dev/null", Kind::Special},
                                                {dir + "/dangling.mp4", Kind::Missing},
                                                {dir + "/gone.mp4", Kind::Missing},
                                                {shown, Kind::UnreadableName},
                                                {dir + "/\xEF\xBF\xBD folder/other.mp4", Kind::Missing}};
  for (const auto& [path, kind] : cases) EXPECT_EQ(OSUtil::getFileKind(path), kind) << path;
}
