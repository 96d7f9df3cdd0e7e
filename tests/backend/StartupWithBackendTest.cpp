#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QWidget>
#include <map>

#include "BackendTestSupport.h"
#include "ModalBoxes.h"
#include "QtPrinters.h"
#include "Util/AppConstants.h"
#include "Util/TxtUtil.h"
#include "ui/AppMenu.h"

namespace {

const QString kChineseWindow = QString::fromUtf8("WINDOW\tKovadle视频转换器 v1.1 - 支持二十多种格式\n");

struct ProgramRun {
  bool ended = false;  // by itself, within the time allowed
  int exit_code = -1;
  QString output;  // the BOX and WINDOW lines
  QString log;     // every program log file
};

// Runs the whole program (kovadle_app_helper) on the per-user data folder
// data_home until it ends by itself; it is killed after a minute.
ProgramRun run_program(const QString& data_home, const std::map<QString, QString>& settings) {
  QProcess app;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", QString::fromStdString(make_temp_folder("keys")));  // own single-instance keys
  env.insert("XDG_DATA_HOME", data_home);
  for (const auto& [name, value] : settings) env.insert(name, value);
  app.setProcessEnvironment(env);
  app.setWorkingDirectory(QCoreApplication::applicationDirPath());
  app.setStandardErrorFile(QProcess::nullDevice());
  app.start(QCoreApplication::applicationDirPath() + "/kovadle_app_helper", QStringList());
  ProgramRun run;
  run.ended = app.waitForFinished(60000);
  if (!run.ended) {
    app.kill();
    app.waitForFinished();
  }
  run.exit_code = app.exitCode();
  // Only the helper's own lines: the program prints progress lines of its own.
  for (const QString& line : QString::fromUtf8(app.readAllStandardOutput()).split('\n'))
    if (line.startsWith("BOX\t") || line.startsWith("WINDOW\t")) run.output += line + "\n";
  const QDir logs(data_home + "/kovadle_app_helper/applogs");
  for (const QString& name : logs.entryList({"KV*"}, QDir::Files)) {
    QFile file(logs.filePath(name));
    if (file.open(QIODevice::ReadOnly)) run.log += QString::fromUtf8(file.readAll());
  }
  return run;
}

QString fresh_data_home() { return QString::fromStdString(make_temp_folder("data-home")); }

}  // namespace

TEST(StartupWithBackend, WithoutABackendTheWindowOpensAndTheLogSaysWhy) {
  const ProgramRun run = run_program(fresh_data_home(), {{"KOVADLE_HELPER_QUIT", "1"}});
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, kChineseWindow);
  for (const char* line :
       {"ServerLog::GetSSC, curl_code is not 0 or http_code is not 200, GetSSC failed!",
        "ServerLog::ApplySSC, ssc is empty, exit ApplySSC.", "ServerLog::background_operation, end."})
    EXPECT_TRUE(run.log.contains(line)) << line;
  EXPECT_TRUE(
      run.log.contains(QRegularExpression("ServerLog::AppStart,ret_curl_code:[1-9]\\d*,ret_http_code:-1,")));
}

TEST(StartupWithBackend, ClosingDoesNotWaitForABackendThatNeverAnswers) {
  // It takes the connection and says nothing; the request would wait 1000 s.
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  const QString url = "https://127.0.0.1:" + QString::number(silent.serverPort()) + "/KovadleBackend/v1";
  const ProgramRun run =
      run_program(fresh_data_home(), {{"KOVADLE_HELPER_QUIT", "1"}, {"KOVADLE_BACKEND_URL", url}});
  ASSERT_TRUE(run.ended) << "still waiting for the backend after a minute";
  EXPECT_EQ(run.output, kChineseWindow);
  EXPECT_TRUE(run.log.contains("ServerLog::GetSSC, ret_curl_code:42,ret_http_code:-1"))
      << run.log.toStdString();
}

TEST(StartupWithBackend, AnExpiredVersionEndsTheProgramThroughItsNotice) {
  FakeBackend backend;
  backend.answer_ssc(200, R"({"code":"success","expired_versions":"1.0.0,1.1.6"})");
  const ProgramRun run = run_program(
      fresh_data_home(), {{"KOVADLE_BACKEND_URL", QString::fromStdString(backend.base_url())},
                          {"KOVADLE_TEST_CA_FILE", QString::fromStdString(backend.certificate().cert)}});
  ASSERT_TRUE(run.ended) << run.output.toStdString() << run.log.toStdString();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.output.startsWith(kChineseWindow)) << run.output.toStdString();
  EXPECT_TRUE(
      run.output.contains(QString::fromUtf8("\nBOX\t版本过期提醒\t<p>您使用的Kovadle视频转换器版本已过期")))
      << run.output.toStdString();
}

TEST(StartupWithBackend, APendingInstallerIsOfferedBeforeTheWindowAndExitKeepsIt) {
  const QString data_home = fresh_data_home();
  const QString appdata = data_home + "/kovadle_app_helper/appdata";
  QDir().mkpath(appdata);
  TxtUtil::write_text_file((appdata + "/installer_info.dat").toStdString(), "1.2.0,false");
  QFile installer(appdata + "/installer_1.2.0");
  ASSERT_TRUE(installer.open(QIODevice::WriteOnly));
  installer.write(("#!/bin/sh\ntouch '" + appdata + "/ran'\n").toUtf8());
  installer.close();
  installer.setPermissions(installer.permissions() | QFile::ExeOwner);

  // The helper answers the offer with Escape: Exit.
  const ProgramRun run = run_program(data_home, {});
  ASSERT_TRUE(run.ended) << run.output.toStdString();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(
      run.output.startsWith(QString::fromUtf8("BOX\tKovadle视频转换器 - 发现新版本!\t是否安装新版本? "
                                              "已下载的新版本:1.2.0, 当前版本:1.1.6\n")))
      << run.output.toStdString();
  EXPECT_FALSE(QFile::exists(appdata + "/ran"));
  EXPECT_TRUE(installer.exists());
  EXPECT_TRUE(QFile::exists(appdata + "/installer_info.dat"));
}

TEST(StartupWithBackend, EnglishChosenInTheMenuShowsAfterARestart) {
  QWidget window;
  QObject guard;
  QStringList boxes;
  answer_modal_boxes(&guard, [&boxes](const QString&, const QString& text) { boxes << text; });
  AppMenu(&window).slot_languageAction_trigger("en");
  EXPECT_EQ(boxes, QStringList("The new language applies from the next start of Kovadle."));

  const QString data_home = fresh_data_home();
  QDir().mkpath(data_home + "/kovadle_app_helper");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(get_app_data_base_dir() + "/UserSettings.config"),
                          data_home + "/kovadle_app_helper/UserSettings.config"));
  const ProgramRun run = run_program(data_home, {{"KOVADLE_HELPER_QUIT", "1"}});
  EXPECT_EQ(run.output, "WINDOW\tKovadle v1.1 - Support more than twenty formats\n");
  AppMenu(&window).slot_languageAction_trigger("cn");
}
