#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/TestEnvironment.h"
#include "ui/PreconditionCheck.h"
#include "ui/StartupTestSupport.h"

TEST(Startup, ToolsMissingInsideBinAreNamedInOrderAndADanglingLinkCountsAsMissing) {
  const QString dir = QString::fromStdString(make_temp_folder("app"));
  QDir(dir).mkdir("bin");
  QFile::link(dir + "/bin/no-such-ffmpeg", dir + "/bin/encoder");
  EXPECT_EQ(
      missing_file_messages(dir.toStdString()),
      (std::vector<std::string>{"encoder not found in bin folder, Kovadle will crash when transcoding!",
                                "mediainfo not found in bin folder, Kovadle will crash when transcoding!"}));
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
  const std::pair<QString, int> modes[] = {
      {shared.path(), 0755}, {keys, 01777}, {app, 0755}, {home + "/runtime", 0700}};
  for (const auto& [dir, mode] : modes) ::chmod(dir.toUtf8().constData(), mode);
  for (const QString& dir : {home, home + "/runtime"})
    ASSERT_EQ(::chown(dir.toUtf8().constData(), other, other), 0);
  ASSERT_TRUE(QFile::copy(build_dir() + "/kovadle_app_helper", app + "/kovadle_app_helper"));

  QProcess first;
  start(first, keys, build_dir(), false);
  ASSERT_EQ(lines_when_shown(first), kShownInChinese);

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
