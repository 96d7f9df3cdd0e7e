#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <map>

#include "BackendTestSupport.h"
#include "ModalBoxes.h"
#include "QtPrinters.h"
#include "environment/AppConstants.h"
#include "text/TxtUtil.h"
#include "ui/AppMenu.h"

namespace {

const QString kChineseWindow = QString::fromUtf8("WINDOW\tKovadle视频转换器 v1.1 - 支持二十多种格式\n");

struct ProgramRun {
  bool ended = false;  // by itself, within a minute
  QString output;      // the helper's BOX and WINDOW lines
  QString log;
};

// Runs the whole program (kovadle_app_helper, which answers every box with
// Escape) with its per-user data in data_home and the given environment.
ProgramRun run_program(const QString& data_home, const std::map<QString, QString>& environment) {
  QProcess app;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // Its own single-instance lock: a runtime folder closed to others.
  const QString keys = QString::fromStdString(make_temp_folder("keys"));
  QFile::setPermissions(keys, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  env.insert("XDG_RUNTIME_DIR", keys);
  env.insert("TMPDIR", keys);
  env.insert("XDG_DATA_HOME", data_home);
  // A Chinese system, so the interface is Chinese unless English was chosen.
  for (const char* overriding : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) env.remove(overriding);
  env.insert("LANG", "zh_CN.UTF-8");
  for (const auto& [name, value] : environment) env.insert(name, value);
  app.setProcessEnvironment(env);
  app.setStandardErrorFile(QProcess::nullDevice());
  app.start(QCoreApplication::applicationDirPath() + "/kovadle_app_helper", QStringList());
  ProgramRun run;
  run.ended = app.waitForFinished(60000) && app.exitCode() == 0;
  app.kill();
  app.waitForFinished();
  for (const QString& line : QString::fromUtf8(app.readAllStandardOutput()).split('\n'))
    if (line.startsWith("BOX\t") || line.startsWith("WINDOW\t")) run.output += line + "\n";
  run.log = read_logs(data_home + "/kovadle_app_helper/applogs");
  return run;
}

QString data_home() { return QString::fromStdString(make_temp_folder("data-home")); }

}  // namespace

TEST(StartupWithBackend, WithoutABackendTheWindowOpensAndClosingNeverWaitsForIt) {
  // English chosen in the menu shows from the next start on.
  QWidget window;
  QObject guard;
  answer_modal_boxes(&guard, [](const QString&, const QString&) {});
  AppMenu(&window).slot_languageAction_trigger("en");
  const QString home = data_home();
  QDir().mkpath(home + "/kovadle_app_helper");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(get_app_data_base_dir() + "/UserSettings.config"),
                          home + "/kovadle_app_helper/UserSettings.config"));
  AppMenu(&window).slot_languageAction_trigger("cn");
  ProgramRun run = run_program(home, {{"KOVADLE_HELPER_QUIT", "1"}});
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.output, "WINDOW\tKovadle v1.1 - Supports more than twenty formats\n");
  EXPECT_TRUE(
      run.log.contains("ServerLog::GetSSC, curl_code is not 0 or http_code is not 200, GetSSC failed!"));
  EXPECT_TRUE(
      run.log.contains(QRegularExpression("ServerLog::AppStart,ret_curl_code:[1-9]\\d*,ret_http_code:-1,")));

  // This one takes the connection and says nothing: the request would wait 1000 s.
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  const QString url = "https://127.0.0.1:" + QString::number(silent.serverPort()) + "/KovadleBackend/v1";
  run = run_program(data_home(), {{"KOVADLE_HELPER_QUIT", "1"}, {"KOVADLE_BACKEND_URL", url}});
  ASSERT_TRUE(run.ended) << "still waiting for the backend after a minute";
  EXPECT_EQ(run.output, kChineseWindow);
  EXPECT_TRUE(run.log.contains("ServerLog::GetSSC, ret_curl_code:42,ret_http_code:-1"));  // aborted
}

TEST(StartupWithBackend, AnExpiredVersionEndsTheProgramThroughItsNotice) {
  FakeBackend backend;
  backend.answer_ssc(200, R"({"code":"success","expired_versions":"1.0.0,1.1.6"})");
  const ProgramRun run =
      run_program(data_home(), {{"KOVADLE_BACKEND_URL", QString::fromStdString(backend.base_url())},
                                {"KOVADLE_TEST_CA_FILE", QString::fromStdString(backend.ca_file())}});
  ASSERT_TRUE(run.ended) << run.output.toStdString();
  EXPECT_TRUE(
      run.output.startsWith(kChineseWindow + QString::fromUtf8("BOX\t版本过期提醒\t<p>您使用的Kovadle")))
      << run.output.toStdString();
}

TEST(StartupWithBackend, APendingInstallerIsOfferedBeforeTheWindowAndExitKeepsIt) {
  const QString home = data_home();
  const QString appdata = home + "/kovadle_app_helper/appdata";
  QDir().mkpath(appdata);
  TxtUtil::write_text_file((appdata + "/installer_info.dat").toStdString(), "1.2.0,false");
  write_installer((appdata + "/installer_1.2.0").toStdString());

  const ProgramRun run = run_program(home, {});
  ASSERT_TRUE(run.ended) << run.output.toStdString();
  EXPECT_TRUE(run.output.startsWith(QString::fromUtf8(
      "BOX\tKovadle视频转换器 - 发现新版本!\t是否安装新版本? 已下载的新版本:1.2.0, 当前版本:1.1.6\n")))
      << run.output.toStdString();
  EXPECT_FALSE(QFile::exists(appdata + "/installer_1.2.0.ran"));
  EXPECT_TRUE(QFile::exists(appdata + "/installer_1.2.0"));
}
