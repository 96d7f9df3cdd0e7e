#pragma once

// Helpers for the tests that drive the main window: stored jobs, a private job
// manager per test, waits with a time-out, the context menu and drops.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/UserSettings.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/UpdateGUIThread.h"
#include "support/MediaFixtures.h"
#include "support/ModalBoxes.h"
#include "support/TestEnvironment.h"
#include "ui/JobContextMenu.h"
#include "ui/JobTable.h"
#include "ui/Widget.h"

// Processes events until done() holds or timeout_ms pass; returns done().
inline bool wait_until(const std::function<bool()>& done, int timeout_ms) {
  for (QDeadlineTimer deadline(timeout_ms); !done() && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

struct StoredJob {
  bool completed = false;
  bool deleted = false;
  bool stopped = false;
};

// A job file as an earlier run left it; returns its JobID.
inline std::string store_job(const std::string& input, const std::string& output, StoredJob flags = {}) {
  JobFile record;
  record.Init(input, output, "95", "h264", OSUtil::getFileExtension(output));
  if (flags.completed) record.SetIsCompleted(true);
  if (flags.deleted) record.SetIsDeleted(true);
  if (flags.stopped) record.SetIsStopped(true);
  return record.GetJobID();
}

inline bool job_file_exists(const std::string& jobID) {
  return QFile::exists(QString::fromStdString(OSUtil::pathJoin(get_appjobfile_dir(), jobID + ".jobfile")));
}

// An encode that takes about `seconds` of wall time whatever the machine's speed.
inline std::string slow_encode_command(const std::string& output, int seconds = 60) {
  return "ffmpeg -hide_banner -nostdin -re -f lavfi -i testsrc2=size=320x240:rate=10:duration=" +
         std::to_string(seconds) + " -c:v libx264 -preset ultrafast -y " + output;
}

// Each test gets empty job files, its own output folder, its own job manager, a
// shutdown recorder, and a publisher that starts queued jobs whatever the load.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const QString& name : QDir(QString::fromStdString(get_appjobfile_dir())).entryList({"*.jobfile"}))
      QFile::remove(QString::fromStdString(get_appjobfile_dir()) + "/" + name);
    media = make_temp_folder("media");
    output_dir = make_temp_folder("out");
    UserSettings::instance().setOutputDir(output_dir);
    OSUtil::setShutdownAction([this] { ++shutdowns; });
    UpdateGUIThread::setLoadSampler([](int ms) {
      OSUtil::sleepMs(ms);
      return 0;
    });
  }

  void TearDown() override {
    window.reset();
    manager.reset();
    UpdateGUIThread::setLoadSampler({});
    OSUtil::setShutdownAction([] { ADD_FAILURE() << "the shutdown action was reached without a recorder"; });
  }

  Widget& open_window() {
    manager = std::make_unique<JobManager>();
    window = std::make_unique<Widget>(*manager);
    window->show();
    return *window;
  }

  // Closes the window and opens it again on a fresh manager: a restart.
  Widget& restart() {
    window.reset();
    manager.reset();
    return open_window();
  }

  QTableWidget* table(const char* name) const { return window->findChild<QTableWidget*>(name); }
  QTableWidget* running() const { return table("tableWidgetRunning"); }
  QTableWidget* done() const { return table("tableWidgetDone"); }
  QTableWidget* recycled() const { return table("tableWidgetDel"); }

  // "time|progress" of the job's row in the table, "" when it has no row there.
  static std::string cells(QTableWidget* table, const std::string& jobID) {
    const int row = JobTable::rowOf(table, jobID);
    if (row < 0) return "";
    return (table->item(row, 2)->text() + "|" + table->item(row, 3)->text()).toStdString();
  }

  // Starts a stored job with a slow encode instead of its real command.
  void run_slowly(const std::string& jobID, int seconds = 60) {
    JobV3* job = manager->FindJob(jobID);
    ASSERT_NE(job, nullptr);
    job->SetFFmpegCmd(slow_encode_command(OSUtil::pathJoin(output_dir, jobID + ".mp4"), seconds));
    manager->RunJob(jobID);
  }

  bool active(const std::string& jobID) const {
    const JobV3* job = manager->FindJob(jobID);
    return job != nullptr && (job->IsRunning() || job->IsQueueing());
  }

  // Right-clicks the job's row and returns the texts of the entries shown; picks
  // the entry `choose` when given (else the menu is closed).
  QStringList open_menu(QTableWidget* table, const std::string& jobID, const QString& choose = QString(),
                        const std::function<void()>& while_open = {}) {
    QStringList shown;
    const int row = JobTable::rowOf(table, jobID);
    if (row < 0) {
      ADD_FAILURE() << "no row for " << jobID;
      return shown;
    }
    QTimer::singleShot(100, [&] {
      auto* menu = qobject_cast<JobContextMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) {
        ADD_FAILURE() << "no menu opened";
        return;
      }
      if (while_open) while_open();
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        shown << action->text();
        if (action->text() == choose) chosen = action;
      }
      menu->hide();
      if (chosen != nullptr) chosen->trigger();
    });
    const QPoint point = table->visualItemRect(table->item(row, 1)).center();
    emit table->customContextMenuRequested(point);
    return shown;
  }

  std::unique_ptr<JobManager> manager;
  std::unique_ptr<Widget> window;
  std::string media;
  std::string output_dir;
  int shutdowns = 0;
};
