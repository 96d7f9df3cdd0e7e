#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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
           const QString& program = build_dir() + "/kovadle_app_helper") {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", keys);
  if (quit_when_shown) env.insert("KOVADLE_HELPER_QUIT", "1");
  app.setProcessEnvironment(env);
  app.setWorkingDirectory(dir);
  app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  app.start(program, QStringList());
}

// The helper's BOX and WINDOW lines; the program prints progress lines of its own.
QString helper_lines(const QString& output) {
  QString kept;
  for (const QString& line : output.split('\n'))
    if (line.startsWith("BOX\t") || line.startsWith("WINDOW\t")) kept += line + "\n";
  return kept;
}

// The helper's output of a start that must end by itself with exit code 0.
QString output_of_finished(QProcess& app) {
  EXPECT_TRUE(app.waitForFinished(kStartTimeoutMs)) << "still running";
  EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app.exitCode(), 0);
  return helper_lines(QString::fromUtf8(app.readAllStandardOutput()));
}

}  // namespace

TEST(Startup, SecondCopyStopsWhileFirstRunsAndAKilledCopyDoesNotBlockLaterStarts) {
  const QString keys = QString::fromStdString(make_temp_folder("tmp"));
  QProcess first;
  start(first, keys, build_dir(), false);
  QString shown;
  for (QDeadlineTimer deadline(kStartTimeoutMs);
       !shown.contains(kShownInChinese) && first.waitForReadyRead(int(deadline.remainingTime()));)
    shown += QString::fromUtf8(first.readAllStandardOutput());
  ASSERT_EQ(helper_lines(shown), kShownInChinese);

  QProcess second;
  start(second, keys, build_dir(), true);
  EXPECT_EQ(output_of_finished(second), QString::fromUtf8("BOX\t提示\t程序己运行!\n"));
  EXPECT_EQ(first.state(), QProcess::Running);

  // A copy that dies without cleaning up leaves its shared-memory segment behind.
  ASSERT_EQ(::kill(pid_t(first.processId()), SIGKILL), 0);
  ASSERT_TRUE(first.waitForFinished(10000));

  // Started from another folder: bin/ and the translation beside the executable are used.
  QProcess third;
  start(third, keys, QString::fromStdString(make_temp_folder("elsewhere")), true);
  EXPECT_EQ(output_of_finished(third), kShownInChinese);
}

// The lock is per user: while root's copy runs, another user's copy still starts.
TEST(Startup, AnotherUsersCopyIsNotRefused) {
  const QString setpriv = QStandardPaths::findExecutable("setpriv");
  if (::geteuid() != 0 || setpriv.isEmpty()) GTEST_SKIP() << "needs root and setpriv to start a second user";
  const uid_t other = 65534;  // nobody
  // Everything the other user's copy reaches must be open to it.
  QTemporaryDir shared(QDir::tempPath() + "/kovadle-users-XXXXXX");
  const QString keys = shared.path() + "/keys", home = shared.path() + "/home", app = shared.path() + "/app";
  for (const QString& dir : {keys, home + "/runtime", app}) QDir().mkpath(dir);
  ::chmod(shared.path().toUtf8().constData(), 0755);
  ::chmod(keys.toUtf8().constData(), 01777);
  ::chmod(app.toUtf8().constData(), 0755);
  for (const QString& dir : {home, home + "/runtime"})
    ASSERT_EQ(::chown(dir.toUtf8().constData(), other, other), 0);
  ::chmod((home + "/runtime").toUtf8().constData(), 0700);
  ASSERT_TRUE(QFile::copy(build_dir() + "/kovadle_app_helper", app + "/kovadle_app_helper"));

  QProcess first;
  start(first, keys, build_dir(), false);
  QString shown;
  for (QDeadlineTimer deadline(kStartTimeoutMs);
       !shown.contains(kShownInChinese) && first.waitForReadyRead(int(deadline.remainingTime()));)
    shown += QString::fromUtf8(first.readAllStandardOutput());
  ASSERT_EQ(helper_lines(shown), kShownInChinese);

  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) env.remove(name);
  env.insert("HOME", home);
  env.insert("XDG_RUNTIME_DIR", home + "/runtime");
  env.insert("TMPDIR", keys);
  env.insert("KOVADLE_HELPER_QUIT", "1");
  second.setProcessEnvironment(env);
  second.setWorkingDirectory(app);
  second.start(setpriv, {"--reuid=" + QString::number(other), "--regid=" + QString::number(other),
                         "--clear-groups", app + "/kovadle_app_helper"});
  const QString output = output_of_finished(second);
  EXPECT_TRUE(output.contains("WINDOW\t") && !output.contains(QString::fromUtf8("程序己运行")))
      << output.toStdString();
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();  // ends normally and takes its segment with it
  EXPECT_TRUE(first.waitForFinished(kStartTimeoutMs));
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
}

TEST(Startup, WithoutBinFolderOneBoxIsShownAndTheWindowStillOpensInEnglish) {
  // A copy of the program in a folder with neither bin/ nor translations/.
  const QString dir = QString::fromStdString(make_temp_folder("bare-app"));
  ASSERT_TRUE(QFile::copy(build_dir() + "/kovadle_app_helper", dir + "/kovadle_app_helper"));
  QProcess app;
  start(app, QString::fromStdString(make_temp_folder("tmp")), dir, true, dir + "/kovadle_app_helper");
  EXPECT_EQ(output_of_finished(app),
            "BOX\tDebugInfo\tbin folder not found, Kovadle will crash when transcoding!\n"
            "WINDOW\tKovadle v1.1 - Support more than twenty formats\n");
}

TEST(Startup, ToolsMissingInsideBinAreNamedInOrderAndADanglingLinkCountsAsMissing) {
  const QString dir = QString::fromStdString(make_temp_folder("app"));
  QDir(dir).mkdir("bin");
  QFile::link(dir + "/bin/no-such-ffmpeg", dir + "/bin/encoder");
  EXPECT_EQ(
      missing_file_messages(dir.toStdString()),
      (std::vector<std::string>{"encoder not found in bin folder, Kovadle will crash when transcoding!",
                                "mediainfo not found in bin folder, Kovadle will crash when transcoding!"}));
}
