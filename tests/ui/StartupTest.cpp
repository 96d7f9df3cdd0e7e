#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QRegularExpression>

#include "support/ChildProgram.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"

namespace {

const QString kChineseTitle = QString::fromUtf8("Kovadle视频转换器 v1.1 - 支持二十多种格式");
const QString kEnglishTitle = QStringLiteral("Kovadle v1.1 - Support more than twenty formats");
const int kStartTimeoutMs = 60000;

QString helper_program() { return build_output_dir() + "/kovadle_app_helper"; }

// The single-instance keys live in the temporary folder, so each test gets its
// own and none meets a copy of the program that really runs on this machine.
QString temp_env() { return "TMPDIR=" + QString::fromStdString(make_temp_folder("tmp")); }

QStringList box_lines(const QString& output) {
  return output.split('\n').filter(QRegularExpression(QStringLiteral("^BOX\t")));
}

}  // namespace

TEST(Startup, SecondCopyStopsWhileFirstRunsAndAKilledCopyDoesNotBlockLaterStarts) {
  const QString keys = temp_env();
  ChildProgram first(helper_program(), {keys}, build_output_dir());
  ASSERT_EQ(first.wait_for_line("WINDOW", kStartTimeoutMs), "WINDOW\t" + kChineseTitle) << first.output();

  ChildProgram second(helper_program(), {keys, "KOVADLE_HELPER_QUIT=1"}, build_output_dir());
  ASSERT_TRUE(second.wait_for_exit(kStartTimeoutMs));
  EXPECT_FALSE(second.crashed());
  EXPECT_EQ(second.exit_code(), 0);
  EXPECT_EQ(box_lines(second.output()), QStringList{QString::fromUtf8("BOX\t提示\t程序己运行!")});
  EXPECT_FALSE(second.output().contains("WINDOW"));
  EXPECT_TRUE(first.running());

  // A copy that dies without cleaning up leaves its shared-memory segment behind.
  ASSERT_EQ(::kill(static_cast<pid_t>(first.pid()), SIGKILL), 0);
  ASSERT_TRUE(first.wait_for_exit(10000));

  // Started from another folder: the translation beside the executable is used.
  ChildProgram third(helper_program(), {keys, "KOVADLE_HELPER_QUIT=1"},
                     QString::fromStdString(make_temp_folder("elsewhere")));
  ASSERT_TRUE(third.wait_for_exit(kStartTimeoutMs));
  EXPECT_EQ(third.exit_code(), 0);
  EXPECT_TRUE(box_lines(third.output()).isEmpty()) << third.output().toStdString();
  EXPECT_EQ(third.wait_for_line("WINDOW", 0), "WINDOW\t" + kChineseTitle);
}

TEST(Startup, MissingBinFolderShowsOneBoxAndTheWindowStillOpens) {
  // A copy of the program in a folder with neither bin/ nor translations/.
  const QString app_dir = QString::fromStdString(make_temp_folder("bare-app"));
  ASSERT_TRUE(QFile::copy(helper_program(), app_dir + "/kovadle_app_helper"));

  ChildProgram run(app_dir + "/kovadle_app_helper", {temp_env(), "KOVADLE_HELPER_QUIT=1"}, app_dir);
  ASSERT_TRUE(run.wait_for_exit(kStartTimeoutMs));
  EXPECT_EQ(run.exit_code(), 0);
  EXPECT_EQ(box_lines(run.output()),
            QStringList{"BOX\tDebugInfo\tbin folder not found, Kovadle will crash when transcoding!"});
  EXPECT_EQ(run.wait_for_line("WINDOW", 0), "WINDOW\t" + kEnglishTitle);
}
