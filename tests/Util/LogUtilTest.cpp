#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <future>
#include <iostream>
#include <thread>

#include "FolderTime.h"
#include "TestEnvironment.h"
#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "log/TraceOutput.h"
#include "platform/OSUtil.h"

namespace {
QString in_logs(const QString& name) { return QString::fromStdString(get_applogs_dir()) + "/" + name; }

void touch(const QString& path, const QDateTime& modified) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
  file.flush();  // a later flush would stamp the file with the current time
  ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}
}  // namespace

TEST(Logging, FirstCallFromAWorkerThreadSetsUpTheFolderAndExpiredLogsGo) {
  std::async(std::launch::async, [] { log_info("Logging test, first line from a worker thread."); }).get();
  flush_logs();
  EXPECT_FALSE(QDir(QString::fromStdString(get_applogs_dir())).entryList({"KV*.log"}, QDir::Files).isEmpty());

  const QDateTime now = QDateTime::currentDateTime();
  touch(in_logs("old.log"), now.addDays(-90).addSecs(-60));
  touch(in_logs("dump.log"), now.addDays(-120));
  touch(in_logs("young.log"), now.addDays(-90).addSecs(60));
  touch(in_logs("ancient.txt"), now.addDays(-400));
  QDir().mkpath(in_logs("old-folder.log"));
  ASSERT_TRUE(set_folder_modified(in_logs("old-folder.log"), now.addDays(-400)));

  check_expired_logs();

  EXPECT_FALSE(QFile::exists(in_logs("old.log")));
  EXPECT_FALSE(QFile::exists(in_logs("dump.log")));
  EXPECT_TRUE(QFile::exists(in_logs("young.log")));
  EXPECT_TRUE(QFile::exists(in_logs("ancient.txt")));
  EXPECT_TRUE(QDir(in_logs("old-folder.log")).exists());
}

// Off the terminal, traces go nowhere, except those reporting an error, which reach
// the log each whole, however many threads write at once.
TEST(Logging, TracesKeepOffTheTerminalAndOnlyTheirErrorsReachTheLogWhole) {
  TraceOutput::ToTerminal(false);
  testing::internal::CaptureStdout();
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < 200; ++i)
        std::cout << "Error,trace test," << t << "," << i << ",end" << std::endl
                  << "plain trace" << std::endl;
    });
  }
  for (std::thread& writer : writers) writer.join();
  const std::string printed = testing::internal::GetCapturedStdout();
  TraceOutput::ToTerminal(true);
  set_log_warnings_to_stderr();
  flush_logs();
  EXPECT_EQ(printed, "");

  QString logged;
  const QDir logs(QString::fromStdString(get_applogs_dir()));
  for (const QString& name : logs.entryList({"KV*.log"}, QDir::Files)) {
    QFile file(logs.filePath(name));
    if (file.open(QIODevice::ReadOnly)) logged += QString::fromUtf8(file.readAll());
  }
  // Each whole on a line of its own (ended by "\r\n" on Windows).
  EXPECT_EQ(logged.count(QRegularExpression("\\] Error,trace test,[0-3],\\d+,end\r?\n")), 800);
  EXPECT_FALSE(logged.contains("plain trace"));
}
