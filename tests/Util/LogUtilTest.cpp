#include <gtest/gtest.h>
#include <utime.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <future>

#include "TestEnvironment.h"
#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"

namespace {
QString in_logs(const QString& name) { return QString::fromStdString(get_applogs_dir()) + "/" + name; }

void touch(const QString& path, const QDateTime& modified) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
  file.flush();  // a later flush would stamp the file with the current time
  ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}
}  // namespace

TEST(Logging, FirstCallFromAWorkerThreadSetsUpTheLogFolder) {
  std::async(std::launch::async, [] { log_info("Logging test, first line from a worker thread."); }).get();
  log_warning("Logging test, warning line.");
  flush_logs();
  const QStringList files =
      QDir(QString::fromStdString(get_applogs_dir())).entryList(QStringList() << "KV*.log", QDir::Files);
  EXPECT_FALSE(files.isEmpty());
}

TEST(Logging, ExpiredLogsAreRemovedOthersKept) {
  log_info("Logging test, expiry.");
  const QDateTime now = QDateTime::currentDateTime();
  touch(in_logs("old.log"), now.addDays(-90).addSecs(-60));
  touch(in_logs("dump.log"), now.addDays(-120));
  touch(in_logs("young.log"), now.addDays(-90).addSecs(60));
  touch(in_logs("ancient.txt"), now.addDays(-400));
  QDir().mkpath(in_logs("old-folder.log"));
  const utimbuf old_times{now.addDays(-400).toSecsSinceEpoch(), now.addDays(-400).toSecsSinceEpoch()};
  ASSERT_EQ(utime(in_logs("old-folder.log").toUtf8().constData(), &old_times), 0);

  check_expired_logs();

  EXPECT_FALSE(QFile::exists(in_logs("old.log")));
  EXPECT_FALSE(QFile::exists(in_logs("dump.log")));
  EXPECT_TRUE(QFile::exists(in_logs("young.log")));
  EXPECT_TRUE(QFile::exists(in_logs("ancient.txt")));
  EXPECT_TRUE(QDir(in_logs("old-folder.log")).exists());
}

// Runs the helper with its own data folder; returns the crash marker's text ("" when absent).
QString dump_after_helper(const QStringList& args, bool terminate, QString* output) {
  const QString data_home = QString::fromStdString(make_temp_folder("crash-data"));
  QProcess helper;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_DATA_HOME", data_home);
  helper.setProcessEnvironment(env);
  helper.setProcessChannelMode(QProcess::MergedChannels);
  helper.start(QCoreApplication::applicationDirPath() + "/log_crash_helper", args);
  if (terminate) {
    while (helper.waitForReadyRead(30000) && !helper.readAll().contains("ready")) {
    }
    helper.terminate();
  }
  EXPECT_TRUE(helper.waitForFinished(60000));
  EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit);
  *output += QString::fromUtf8(helper.readAll());
  QFile dump(data_home + "/log_crash_helper/applogs/dump.log");
  return dump.open(QIODevice::ReadOnly) ? QString::fromUtf8(dump.readAll()) : QString();
}

TEST(Logging, CrashLeavesTheFailureTextInDumpLogButTerminationDoesNot) {
  QString output;
  const QString text = dump_after_helper({}, false, &output);
  EXPECT_TRUE(text.contains("SIGSEGV")) << text.toStdString();
  EXPECT_TRUE(output.contains("QDR,size:") && output.contains("QDR,str:")) << output.toStdString();

  EXPECT_EQ(dump_after_helper({"wait"}, true, &output), "");
}
