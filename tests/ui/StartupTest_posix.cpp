#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QSysInfo>
#include <QSystemSemaphore>
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

// Another user of the machine can write to the temporary folder and make System V
// objects under any key: nothing planted there keeps this user's copy from starting
// or from taking a later start's files. What is not a lock or a socket of ours in
// the runtime folder (left by a crash, or by mistake) is replaced.
TEST(Startup, NothingPlantedInSharedPlacesOrLeftInTheRuntimeFolderKeepsTheProgramFromStarting) {
  const QString shared = QString::fromStdString(make_temp_folder("shared-tmp"));
  const QString runtime = QString::fromStdString(make_temp_folder("runtime"));
  const QString uid = QString::number(::getuid());
  // Under the names and keys a copy took there, as a squatter would hold them.
  ASSERT_TRUE(QFile(shared + "/KovadleOpen-" + uid).open(QIODevice::WriteOnly));
  const QByteArray own_tmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", shared.toUtf8());  // where Qt derives the System V keys from
  QSystemSemaphore semaphore("Kovadle-" + uid, 1, QSystemSemaphore::Create);
  ASSERT_TRUE(semaphore.acquire());
  QSharedMemory segment("KovadleObject-" + uid);
  ASSERT_TRUE(segment.create(1));
  own_tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", own_tmp);
  ASSERT_EQ(::mkfifo((runtime + "/Kovadle.lock").toUtf8().constData(), 0600), 0);
  ASSERT_TRUE(QFile(runtime + "/KovadleOpen").open(QIODevice::WriteOnly));

  QProcess first, second;
  start(first, runtime, build_dir(), false, helper_program(), {}, {{"TMPDIR", shared}});
  ASSERT_EQ(lines_when_shown(first), kShownInChinese);
  EXPECT_TRUE(QFileInfo(runtime + "/Kovadle.lock").isFile());
  const QString notes = QString::fromStdString(make_temp_folder("docs")) + "/notes.txt";
  QFile(notes).open(QIODevice::WriteOnly);
  start(second, runtime, build_dir(), true, helper_program(), {notes}, {{"TMPDIR", shared}});
  EXPECT_EQ(output_of_finished(second), "");
  const QString refused = QString::fromUtf8("BOX\t提示\t不支持非视频文件! ") + notes + "\n";
  EXPECT_EQ(lines_until(first, refused), refused);
  semaphore.release();
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kStartTimeoutMs));
}

// A runtime folder others may write to is not used: the lock goes to a folder of
// the data folder, closed to others, where a start without any runtime folder finds it.
TEST(Startup, WithoutAClosedRuntimeFolderTheLockLivesInAClosedFolderOfTheDataFolder) {
  const QString open = QString::fromStdString(make_temp_folder("open-runtime"));
  ASSERT_EQ(::chmod(open.toUtf8().constData(), 0777), 0);
  const QString data = QString::fromStdString(make_temp_folder("data"));
  const QString folder = data + "/kovadle_app_helper/run-" + QSysInfo::machineHostName();
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_EQ(::chmod(folder.toUtf8().constData(), 0755), 0);  // opened by mistake

  QProcess first, second;
  start(first, QString::fromStdString(make_temp_folder("tmp")), build_dir(), false, helper_program(), {},
        {{"XDG_RUNTIME_DIR", open}, {"XDG_DATA_HOME", data}});
  ASSERT_EQ(lines_when_shown(first), kShownInChinese);
  struct stat info {};
  ASSERT_EQ(::stat(folder.toUtf8().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(QFileInfo(folder + "/Kovadle.lock").isFile());
  EXPECT_TRUE(QDir(open).isEmpty());
  start(second, QString::fromStdString(make_temp_folder("tmp")), build_dir(), true, helper_program(), {},
        {{"XDG_RUNTIME_DIR", ""}, {"XDG_DATA_HOME", data}});
  EXPECT_EQ(output_of_finished(second), "");  // handed over: no second window
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kStartTimeoutMs));
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

// A running copy that does not answer (stopped, or hung in a dialog's loop of its own).
TEST(Startup, ARunningCopyOutOfReachIsReportedInTheInterfacesLanguage) {
  const QString keys = QString::fromStdString(make_temp_folder("tmp"));
  QProcess first;
  start(first, keys, build_dir(), false);
  ASSERT_EQ(lines_when_shown(first), kShownInChinese);
  ASSERT_EQ(::kill(static_cast<pid_t>(first.processId()), SIGSTOP), 0);
  const std::pair<const char*, QString> systems[] = {
      {"zh_CN.UTF-8", QString::fromUtf8("BOX\t提示\t程序己运行!\n")},
      {"en_US.UTF-8", "BOX\tNotice\tKovadle is already running!\n"}};
  // Both wait out the hand-over's time at once.
  QProcess later[2];
  for (int i = 0; i < 2; ++i)
    start(later[i], keys, build_dir(), true, helper_program(), {}, {{"LANG", systems[i].first}});
  for (int i = 0; i < 2; ++i) EXPECT_EQ(output_of_finished(later[i]), systems[i].second) << systems[i].first;
  ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
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
