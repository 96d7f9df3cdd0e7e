#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>

#include "TestEnvironment.h"

// Runs the helper with its own data folder; returns its log folder.
QString run_helper(const QStringList& args, bool terminate, QString* output, QProcess::ExitStatus* status) {
  const QString data_home = QString::fromStdString(make_temp_folder("crash-data"));
  QProcess helper;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_DATA_HOME", data_home);
  helper.setProcessEnvironment(env);
  helper.setProcessChannelMode(QProcess::MergedChannels);
  helper.start(QCoreApplication::applicationDirPath() + "/log_crash_helper", args);
  if (terminate) {
    while (helper.waitForReadyRead(30000) &&
           !(*output += QString::fromUtf8(helper.readAll())).contains("ready")) {
    }
    helper.terminate();
  }
  EXPECT_TRUE(helper.waitForFinished(60000));
  *status = helper.exitStatus();
  *output += QString::fromUtf8(helper.readAll());
  return data_home + "/log_crash_helper/applogs";
}

QString read_file(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(Logging, CrashLeavesTheFailureTextInDumpLog) {
  QString output;
  QProcess::ExitStatus status;
  const QString text = read_file(run_helper({}, false, &output, &status) + "/dump.log");
  EXPECT_EQ(status, QProcess::CrashExit);
  EXPECT_TRUE(text.contains("SIGSEGV")) << text.toStdString();
  EXPECT_TRUE(output.contains("QDR,size:") && output.contains("QDR,str:")) << output.toStdString();
}

// SIGTERM is no crash: the program ends normally and its log holds every line, each
// naming where it was logged, in files linked under the program's name.
TEST(Logging, TerminationEndsNormallyAndKeepsEveryLine) {
  QString output;
  QProcess::ExitStatus status;
  const QString logs = run_helper({"wait"}, true, &output, &status);
  EXPECT_EQ(status, QProcess::NormalExit) << output.toStdString();
  EXPECT_FALSE(QFile::exists(logs + "/dump.log"));
  EXPECT_FALSE(QFile::exists(logs + "/UNKNOWN.INFO"));
  const QString log = read_file(logs + "/KV.INFO");
  for (int i = 1; i <= 4; ++i)
    EXPECT_TRUE(log.contains(QString("line %1 of 4.").arg(i))) << log.toStdString();
  EXPECT_TRUE(log.contains("ended by signal " + QString::number(SIGTERM) + ".")) << log.toStdString();
  EXPECT_TRUE(log.contains("log_crash_helper.cpp:") && !log.contains("LogUtil.cpp:")) << log.toStdString();
}
