#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "TestEnvironment.h"

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
