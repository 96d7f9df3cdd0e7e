#pragma once

// Starting the whole program (kovadle_app_helper) as a child process and reading
// what it showed.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>

#include "platform/OSUtil.h"

inline const QString kShownInChinese =
    QString::fromUtf8("WINDOW\tKovadle视频转换器 v1.1 - 支持二十多种格式\n");
inline const QString kShownInEnglish =
    QStringLiteral("WINDOW\tKovadle v1.1 - Supports more than twenty formats\n");
inline const int kStartTimeoutMs = 60000;

// Whether a start with no stored language choice comes up in Chinese: the system's
// language. The tests set it through LANG where that is the system's language; under
// Wine it is the prefix's own.
bool starts_in_chinese();

// The window's line of such a start.
inline QString shown_window_line() { return starts_in_chinese() ? kShownInChinese : kShownInEnglish; }

inline QString build_dir() { return QCoreApplication::applicationDirPath(); }

inline QString helper_program() {
  return build_dir() + "/kovadle_app_helper" + QString::fromStdString(OSUtil::executableSuffix());
}

// Starts the whole program (see kovadle_app_helper) in dir, with the arguments and
// a Chinese system unless the environment given says otherwise (an empty value
// removes a variable). The single-instance lock lives in the folder given (its
// runtime folder, closed to others, and its temporary folder), so no copy really
// running here is met.
inline void start(QProcess& app, const QString& keys, const QString& dir, bool quit_when_shown,
                  const QString& program = helper_program(), const QStringList& arguments = {},
                  const std::map<QString, QString>& environment = {},
                  QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  QFile::setPermissions(keys, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  env.insert("XDG_RUNTIME_DIR", keys);
  env.insert("TMPDIR", keys);
  for (const char* overriding : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) env.remove(overriding);
  env.insert("LANG", "zh_CN.UTF-8");
  if (quit_when_shown) env.insert("KOVADLE_HELPER_QUIT", "1");
  for (const auto& [name, value] : environment) {
    if (value.isEmpty()) {
      env.remove(name);
    } else {
      env.insert(name, value);
    }
  }
  app.setProcessEnvironment(env);
  app.setWorkingDirectory(dir);
  app.setProcessChannelMode(channels);
  app.start(program, arguments);
}

// The helper's BOX and WINDOW lines; the program prints progress lines of its own.
inline QString helper_lines(const QString& output) {
  QString kept;
  for (const QString& line : output.split('\n'))
    if (line.startsWith("BOX\t") || line.startsWith("WINDOW\t")) kept += line + "\n";
  return kept;
}

// The helper's lines of a copy left running, once they contain the expected text
// (or the time-out passed).
inline QString lines_until(QProcess& app, const QString& expected) {
  QString shown;
  for (QDeadlineTimer deadline(kStartTimeoutMs);
       !helper_lines(shown).contains(expected) && app.waitForReadyRead(int(deadline.remainingTime()));)
    shown += QString::fromUtf8(app.readAllStandardOutput()).remove('\r');
  return helper_lines(shown);
}

// The helper's lines once the window of a copy left running is shown (or the time-out passed).
inline QString lines_when_shown(QProcess& app) { return lines_until(app, shown_window_line()); }

// The helper's output of a start that must end by itself with exit code 0.
inline QString output_of_finished(QProcess& app) {
  EXPECT_TRUE(app.waitForFinished(kStartTimeoutMs)) << "still running";
  EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app.exitCode(), 0);
  // A Windows console program writes "\r\n".
  return helper_lines(QString::fromUtf8(app.readAllStandardOutput()).remove('\r'));
}
