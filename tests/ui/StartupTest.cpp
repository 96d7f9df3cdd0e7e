#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "Util/OSUtil.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/PreconditionCheck.h"

namespace {

const QString kShownInChinese = QString::fromUtf8("WINDOW\tKovadle视频转换器 v1.1 - 支持二十多种格式\n");
const int kStartTimeoutMs = 60000;

QString build_dir() { return QCoreApplication::applicationDirPath(); }

// Starts the whole program (see kovadle_app_helper) in dir. The single-instance
// keys live in the folder given as TMPDIR, so no copy really running here is met.
void start(QProcess& app, const QString& keys, const QString& dir, bool quit_when_shown,
           const QString& program = build_dir() + "/kovadle_app_helper" +
                                    QString::fromStdString(OSUtil::executableSuffix())) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", keys);
  if (quit_when_shown) env.insert("KOVADLE_HELPER_QUIT", "1");
  app.setProcessEnvironment(env);
  app.setWorkingDirectory(dir);
  app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  app.start(program, QStringList());
}

// The whole output of a start that must end by itself with exit code 0.
QString output_of_finished(QProcess& app) {
  EXPECT_TRUE(app.waitForFinished(kStartTimeoutMs)) << "still running";
  EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app.exitCode(), 0);
  // A Windows console program writes "\r\n".
  return QString::fromUtf8(app.readAllStandardOutput()).remove('\r');
}

}  // namespace

TEST(Startup, SecondCopyStopsWhileFirstRunsAndAKilledCopyDoesNotBlockLaterStarts) {
  const QString keys = QString::fromStdString(make_temp_folder("tmp"));
  QProcess first;
  start(first, keys, build_dir(), false);
  QString shown;
  for (QDeadlineTimer deadline(kStartTimeoutMs);
       !shown.contains(kShownInChinese) && first.waitForReadyRead(int(deadline.remainingTime()));)
    shown += QString::fromUtf8(first.readAllStandardOutput()).remove('\r');
  ASSERT_EQ(shown, kShownInChinese);

  QProcess second;
  start(second, keys, build_dir(), true);
  EXPECT_EQ(output_of_finished(second), QString::fromUtf8("BOX\t提示\t程序己运行!\n"));
  EXPECT_EQ(first.state(), QProcess::Running);

  // A copy that dies without cleaning up leaves its shared-memory segment behind.
  first.kill();
  ASSERT_TRUE(first.waitForFinished(10000));

  // Started from another folder: bin/ and the translation beside the executable are used.
  QProcess third;
  start(third, keys, QString::fromStdString(make_temp_folder("elsewhere")), true);
  EXPECT_EQ(output_of_finished(third), kShownInChinese);
}

TEST(Startup, WithoutBinFolderOneBoxIsShownAndTheWindowStillOpensInEnglish) {
  // A copy of the program in a folder with neither bin/ nor translations/.
  const QString dir = QString::fromStdString(make_temp_folder("bare-app"));
  const QString name = "kovadle_app_helper" + QString::fromStdString(OSUtil::executableSuffix());
  ASSERT_TRUE(QFile::copy(build_dir() + "/" + name, dir + "/" + name));
  QProcess app;
  start(app, QString::fromStdString(make_temp_folder("tmp")), dir, true, dir + "/" + name);
  QString boxes = "BOX\tDebugInfo\tbin folder not found, Kovadle will crash when transcoding!\n";
  // On Windows the DLLs the program ships are missing there too (the copy finds them on the search path).
  for (const std::string& message : missing_library_messages(dir.toStdString()))
    boxes += "BOX\tDebugInfo\t" + QString::fromStdString(message) + "\n";
  EXPECT_EQ(output_of_finished(app), boxes + "WINDOW\tKovadle v1.1 - Support more than twenty formats\n");
}
