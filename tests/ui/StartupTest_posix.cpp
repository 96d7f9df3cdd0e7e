#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "support/ModalBoxes.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/AppMenu.h"
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

// The system's language is read from the environment here (on Windows from the system).
TEST(Startup, TheInterfaceSpeaksTheSystemsLanguageUnlessOneWasChosen) {
  const QString english = "WINDOW\tKovadle v1.1 - Supports more than twenty formats\n";
  const QString data = QString::fromStdString(make_temp_folder("data"));
  const auto shown = [&data](const char* system) {
    QProcess app;
    start(app, QString::fromStdString(make_temp_folder("tmp")), build_dir(), true, helper_program(), {},
          {{"LANG", system}, {"XDG_DATA_HOME", data}});
    return output_of_finished(app);
  };
  EXPECT_EQ(shown("en_US.UTF-8"), english);
  EXPECT_EQ(shown("zh_CN.UTF-8"), kShownInChinese);
  QDir().mkpath(data + "/kovadle_app_helper");
  UserSettings chosen((data + "/kovadle_app_helper/UserSettings.config").toStdString());
  chosen.set("Language", "en");
  chosen.save();
  EXPECT_EQ(shown("zh_CN.UTF-8"), english);

  // The menu confirms a new choice in the language chosen, which the user reads.
  QWidget window;
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard, [&](const QString& title, const QString& text) { boxes << title + ":" + text; });
  const bool english_now = get_language() == "en";
  AppMenu(&window).slot_languageAction_trigger(english_now ? "cn" : "en");
  EXPECT_EQ(
      boxes,
      QStringList{english_now
                      ? QString::fromUtf8("语言 (Language):新的界面语言将在下次启动Kovadle视频转换器时生效。")
                      : "Language:The new language takes effect the next time Kovadle starts."});
  UserSettings::instance().set("Language", "");
  UserSettings::instance().save();
}

// Someone emptied the temporary folder: the lock holds, the hand-over socket is gone.
TEST(Startup, ARunningCopyOutOfReachIsReportedInTheInterfacesLanguage) {
  const QString keys = QString::fromStdString(make_temp_folder("tmp"));
  QProcess first;
  start(first, keys, build_dir(), false);
  ASSERT_EQ(lines_when_shown(first), kShownInChinese);
  ASSERT_TRUE(QFile::remove(keys + "/KovadleOpen-" + QString::number(::getuid())));
  const std::pair<const char*, QString> systems[] = {
      {"zh_CN.UTF-8", QString::fromUtf8("BOX\t提示\t程序己运行!\n")},
      {"en_US.UTF-8", "BOX\tNotice\tKovadle is already running!\n"}};
  for (const auto& [system, box] : systems) {
    QProcess later;
    start(later, keys, build_dir(), true, helper_program(), {}, {{"LANG", system}});
    EXPECT_EQ(output_of_finished(later), box) << system;
  }
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kStartTimeoutMs));
}

// Started from a terminal, the window says nothing there in normal use: no traces,
// no log lines; KOVADLE_TRACE=1 brings both back.
TEST(Startup, AWindowStartedFromATerminalKeepsItQuietUnlessTracesAreAskedFor) {
  const auto run = [](const std::map<QString, QString>& environment) {
    QProcess app;
    start(app, QString::fromStdString(make_temp_folder("tmp")), build_dir(), false, helper_program(), {},
          environment, QProcess::SeparateChannels);
    QString out;
    for (QDeadlineTimer deadline(kStartTimeoutMs);
         !out.contains("WINDOW\t") && app.waitForReadyRead(int(deadline.remainingTime()));)
      out += QString::fromUtf8(app.readAllStandardOutput());
    EXPECT_TRUE(out.contains("WINDOW\t"));
    QThread::msleep(2500);  // the publisher goes round a few times meanwhile
    app.terminate();
    EXPECT_TRUE(app.waitForFinished(kStartTimeoutMs));
    out += QString::fromUtf8(app.readAllStandardOutput());
    QStringList printed;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
      if (!line.startsWith("BOX\t") && !line.startsWith("WINDOW\t")) printed << line;
    return std::make_pair(printed, QString::fromUtf8(app.readAllStandardError()));
  };
  const auto [quiet_out, quiet_err] = run({});
  EXPECT_TRUE(quiet_out.isEmpty()) << quiet_out.join('\n').toStdString();
  EXPECT_FALSE(quiet_err.contains("] Widget::")) << quiet_err.toStdString();
  const auto [traced_out, traced_err] = run({{"KOVADLE_TRACE", "1"}});
  EXPECT_TRUE(traced_out.contains("UpdateGUIThread::run while(true),begin."))
      << traced_out.join('\n').toStdString();
  EXPECT_TRUE(traced_err.contains("] Widget::relocateGUI end.")) << traced_err.toStdString();
}

// A quit request while thousands of handed-over files are checked ends the program
// at once, not after the last probe.
TEST(Startup, AQuitRequestEndsTheCheckingOfManyFilesAtOnce) {
  const std::string folder = make_temp_folder("many-args");
  QStringList files;
  for (int i = 0; i < 10000; ++i) {
    const std::string name = folder + "/f" + std::to_string(i) + ".mp4";
    QFile file(QString::fromStdString(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a video") > 0);
    files << QString::fromStdString(name);
  }
  QProcess app;
  start(app, QString::fromStdString(make_temp_folder("tmp")), build_dir(), false, helper_program(), files);
  ASSERT_EQ(lines_when_shown(app), kShownInChinese);
  QThread::msleep(1500);  // well into the checking
  QElapsedTimer took;
  took.start();
  app.terminate();
  EXPECT_TRUE(app.waitForFinished(kStartTimeoutMs));
  EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
  // Generous: it must not wait for thousands of probes.
  EXPECT_LT(took.elapsed(), 10000);
}
