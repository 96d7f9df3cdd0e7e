#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/OSUtil.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/PreconditionCheck.h"
#include "ui/StartupTestSupport.h"

TEST(Startup, ALaterStartHandsItsFilesToTheRunningCopyAndAKilledCopyDoesNotBlockLaterStarts) {
  const QString keys = QString::fromStdString(make_temp_folder("tmp"));
  QProcess first;
  start(first, keys, build_dir(), false);
  ASSERT_EQ(lines_when_shown(first), shown_window_line());

  // "Open with": the running copy takes the file as if dropped (and refuses this
  // one), the later start ends quietly; without files it only brings the window up.
  const QString notes = QString::fromStdString(make_temp_folder("docs")) + "/notes.txt";
  QFile(notes).open(QIODevice::WriteOnly);
  QProcess second, third;
  start(second, keys, build_dir(), true, helper_program(), {notes});
  EXPECT_EQ(output_of_finished(second), "");
  // Named in the box (the helper reports its lines as one).
  const QString refused =
      (starts_in_chinese() ? QString::fromUtf8("BOX\t提示\t不支持非视频文件! ")
                           : QStringLiteral("BOX\tInformation\tThis is not a video file! ")) +
      QDir::toNativeSeparators(notes) + "\n";
  EXPECT_EQ(lines_until(first, refused), refused);
  start(third, keys, build_dir(), true);
  EXPECT_EQ(output_of_finished(third), "");
  EXPECT_EQ(first.state(), QProcess::Running);

  // A copy that dies without cleaning up leaves its shared-memory segment behind.
  first.kill();
  ASSERT_TRUE(first.waitForFinished(10000));

  // Started from another folder: bin/ and the translation beside the executable are used.
  QProcess fourth;
  start(fourth, keys, QString::fromStdString(make_temp_folder("elsewhere")), true);
  EXPECT_EQ(output_of_finished(fourth), shown_window_line());
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
