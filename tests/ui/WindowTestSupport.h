#pragma once

// Driving the main window in tests: stored jobs, a private job manager per test,
// waits with a time-out, and the context menu.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/JobOutput.h"
#include "jobs/UpdateGUIThread.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/ModalBoxes.h"
#include "support/TestEnvironment.h"
#include "ui/DesktopOpener.h"
#include "ui/JobContextMenu.h"
#include "ui/JobTable.h"
#include "ui/Widget.h"
#include "ui/dialogs/BatchSettingsDialog.h"
#include "ui/dialogs/SettingWindow1File.h"
#include "ui/dialogs/WaitingLoadingFile.h"

inline bool wait_until(const std::function<bool()>& done, int timeout_ms) {
  for (QDeadlineTimer deadline(timeout_ms); !done() && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// How often the text occurs in the program's log so far.
inline int log_lines_with(const QString& text) {
  flush_logs();
  int count = 0;
  const QDir logs(QString::fromStdString(get_applogs_dir()));
  for (const QString& name : logs.entryList({"KV*"}, QDir::Files | QDir::NoSymLinks)) {
    QFile file(logs.filePath(name));
    if (file.open(QIODevice::ReadOnly)) count += QString::fromUtf8(file.readAll()).count(text);
  }
  return count;
}

// What a tooltip, or a label of the format given, shows of a text: Qt renders it as
// markup when it is rich text or looks like it.
inline QString as_shown(const QString& text, Qt::TextFormat format = Qt::AutoText) {
  QTextDocument document;
  if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
    document.setHtml(text);
  } else {
    document.setPlainText(text);
  }
  return document.toPlainText();
}

struct StoredJob {
  bool completed = false, deleted = false, stopped = false;
};

// A job file as an earlier run left it; returns its JobID. Jobs are listed by file
// time, so each gets a second more than the one before: rows keep the stored order.
// A failure makes it a job whose last run failed for that reason. A completed job
// made its output: the file there now, when there is one.
inline std::string store_job(const std::string& input, const std::string& output, StoredJob flags = {},
                             const std::string& failure = "") {
  JobFile record;
  record.Init(input, output, "95", "h264", OSUtil::getFileExtension(output));
  int64_t size = 0, modified = 0;
  if (flags.completed && JobOutput::IdentityOf(output, &size, &modified))
    record.SetOutputIdentity(size, modified);
  if (flags.completed) record.SetIsCompleted(true);
  if (flags.deleted) record.SetIsDeleted(true);
  if (!failure.empty()) record.SetOutcome("failed", {failure});
  if (flags.stopped || !failure.empty()) record.SetIsStopped(true);
  static QDateTime stored_at = QDateTime::currentDateTime().addDays(-1);
  stored_at = stored_at.addSecs(1);
  QFile file(QString::fromStdString(OSUtil::pathJoin(get_appjobfile_dir(), record.GetJobID() + ".jobfile")));
  if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(stored_at, QFileDevice::FileModificationTime))
    ADD_FAILURE() << "cannot set the time of " << file.fileName().toStdString();
  return record.GetJobID();
}

// Empty job files, an output folder of its own, a private job manager, a shutdown
// recorder, and a publisher whose load samples say idle (or busy).
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    QDir jobs(QString::fromStdString(get_appjobfile_dir()));
    for (const QString& name : jobs.entryList({"*.jobfile"})) jobs.remove(name);
    media = make_temp_folder("media");
    output_dir = make_temp_folder("out");
    forget_choices();
    UserSettings::instance().setOutputDir(output_dir);
    OSUtil::setShutdownAction([this] { ++shutdowns; });
    // No test may start the desktop's player or file manager.
    DesktopOpener::setLauncher([this](const QString& path) {
      launched << path;
      return true;
    });
    machine_busy(false);
  }

  void TearDown() override {
    window.reset();
    engine.reset();
    manager.reset();
    forget_choices();
    UpdateGUIThread::setLoadSampler({});
    DesktopOpener::setLauncher([](const QString& path) {
      ADD_FAILURE() << "the desktop would have opened " << path.toStdString();
      return false;
    });
    OSUtil::setShutdownAction([] { ADD_FAILURE() << "the shutdown action was reached without a recorder"; });
  }

  // Each test starts from the defaults: no remembered quality or format.
  static void forget_choices() {
    for (const char* key : {"Quality", "OutputFormat", "IncludeSubfolders"})
      UserSettings::instance().set(key, "");
    UserSettings::instance().save();
  }

  static void machine_busy(bool busy) {
    UpdateGUIThread::setLoadSampler([busy](int ms) {
      OSUtil::sleepMs(ms);
      return busy ? 100 : 0;
    });
  }

  // Opens the window on a fresh engine and, unless told not to, waits until every
  // stored job is shown; called again, it is a restart.
  Widget& open_window(bool until_shown = true) {
    window.reset();
    engine.reset();
    manager = std::make_unique<JobManager>();
    engine = std::make_unique<JobEngine>(*manager);
    window = std::make_unique<Widget>(*engine);
    window->show();
    const bool shown = !until_shown || wait_until([this] { return window->stored_jobs_shown(); }, 60000);
    EXPECT_TRUE(shown) << "stored jobs not shown";
    return *window;
  }

  QTableView* running() const { return window->findChild<QTableView*>("tableWidgetRunning"); }
  QTableView* done() const { return window->findChild<QTableView*>("tableWidgetDone"); }
  QTableView* recycled() const { return window->findChild<QTableView*>("tableWidgetDel"); }

  static int rows(const QTableView* table) { return table->model()->rowCount(); }
  static QString text(const QTableView* table, int row, int column, int role = Qt::DisplayRole) {
    return table->model()->index(row, column).data(role).toString();
  }
  static QString tip(const QTableView* table, int row, int column) {
    return text(table, row, column, Qt::ToolTipRole);
  }

  // "time|progress" of the job's row, "" when the table has none.
  static std::string cells(QTableView* table, const std::string& jobID) {
    const int row = JobTable::rowOf(table, jobID);
    return row < 0 ? "" : (text(table, row, 2) + "|" + text(table, row, 3)).toStdString();
  }

  // Starts a stored job with an encode of about `seconds` of wall time into its output.
  void run_slowly(const std::string& jobID, int seconds = 60) {
    JobV3* job = manager->FindJob(jobID);
    job->SetFFmpegCmd(CommandLine("ffmpeg")
                          .Add({"-nostdin", "-re", "-f", "lavfi", "-i"})
                          .Add("testsrc2=size=320x240:duration=" + std::to_string(seconds))
                          .Add("-y")
                          .AddPath(job->GetJobFile()->GetOutputFile()));
    manager->RunJob(jobID);
  }

  bool active(const std::string& jobID) const {
    const JobV3* job = manager->FindJob(jobID);
    return job != nullptr && JobStateRules::IsActive(job->GetState());
  }

  // Right-clicks the job's row; returns the entries shown (those shown disabled
  // marked so) and picks `choose`.
  QStringList open_menu(QTableView* table, const std::string& jobID, const QString& choose = QString(),
                        const std::function<void()>& while_open = {}) {
    QStringList shown;
    QTimer inside;  // fires in the menu's own loop, or never when no menu opens
    inside.setSingleShot(true);
    QObject::connect(&inside, &QTimer::timeout, [&] {
      QMenu* menu = qobject_cast<JobContextMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      if (while_open) while_open();
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->isVisible()) shown << action->text() + (action->isEnabled() ? "" : " (disabled)");
        if (action->isVisible() && action->text() == choose) chosen = action;
      }
      menu->hide();
      if (chosen != nullptr) chosen->trigger();
    });
    inside.start(100);
    const int row = JobTable::rowOf(table, jobID);
    if (row >= 0)
      emit table->customContextMenuRequested(table->visualRect(table->model()->index(row, 1)).center());
    EXPECT_FALSE(shown.isEmpty()) << "no menu for " << jobID;
    return shown;
  }

  // The figures a finished job's Property shows ("labelResult"), in their order.
  QStringList property_results(const std::string& jobID) {
    QStringList results;
    QObject guard;
    handle_modal_dialogs(&guard, [&](QDialog* dialog) {
      if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
      for (const QLabel* label : dialog->findChildren<QLabel*>("labelResult")) results << label->text();
      return false;
    });
    open_menu(done(), jobID, "Property");
    return results;
  }

  std::unique_ptr<JobManager> manager;
  std::unique_ptr<JobEngine> engine;
  std::unique_ptr<Widget> window;
  std::string media, output_dir;
  int shutdowns = 0;
  QStringList launched;  // what the desktop was asked to open
};

// Answers the add flow: "Start Transcoding" in the settings dialog (noting the
// output it proposed), Ok in message boxes (noting them).
struct AddFlowAnswers {
  QStringList seen;
  QObject guard;
  // Runs with the proposed output just before "Start Transcoding" is pressed.
  std::function<void(const std::string&)> before_start;

  AddFlowAnswers() {
    handle_modal_dialogs(&guard, [this](QDialog* dialog) {
      if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;  // ends by itself
      if (auto* settings = qobject_cast<SettingWindow1File*>(dialog)) {
        seen << "settings:" + QString::fromStdString(OSUtil::getFileName(settings->GetOutputFile()));
        if (before_start) before_start(settings->GetOutputFile());
        for (QPushButton* button : settings->findChildren<QPushButton*>())
          if (button->text() == "Start Transcoding") button->click();
        return true;
      }
      if (auto* batch = qobject_cast<BatchSettingsDialog*>(dialog)) {
        seen << "batch of " + QString::number(batch->qualities().size());
        batch->findChild<QPushButton*>("btnStartTranscoding")->click();
        return true;
      }
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) seen << box->windowTitle() + ":" + box->text();
      return false;
    });
  }
};
