#include "ui/Widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <unordered_map>

#include "account/SignInStore.h"
#include "backend/PendingInstaller.h"
#include "backend/ServerLog.h"
#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "text/StringUtil.h"
#include "ui/AddVideoFlow.h"
#include "ui/AppMenu.h"
#include "ui/BatchAddFlow.h"
#include "ui/DeleteConfirmation.h"
#include "ui/DesktopNotifier.h"
#include "ui/DesktopOpener.h"
#include "ui/DesktopProgress.h"
#include "ui/EmptyTableHint.h"
#include "ui/JobContextMenu.h"
#include "ui/JobRowTexts.h"
#include "ui/JobTable.h"
#include "ui/JobTabs.h"
#include "ui/KeepAwake.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/MyLabel.h"
#include "ui/OverallProgress.h"
#include "ui/PlainText.h"
#include "ui/PreconditionCheck.h"
#include "ui/ReasonText.h"
#include "ui/TabBarStyle.h"
#include "ui/dialogs/CountDownMsgBox.h"
#include "ui/dialogs/NewVersionDialog.h"
#include "ui/dialogs/SettingWindow1File.h"
#include "ui/dialogs/WaitingLoadingFile.h"
#include "ui_Widget.h"

namespace {
// What the show, start, stop and property actions write without a menu table.
const char* const kOpenError = "Error,slot_stopAction_trigger,num!={1,2,3}";
// How long closing the window waits for stopped encoders to end.
constexpr qint64 kLongestCloseWaitMs = 10000;
// The longest the window gives stored jobs' rows at a time before it answers again.
constexpr qint64 kStoredRowsSliceMs = 15;
}  // namespace

Widget::Widget(QWidget* parent) : Widget(std::make_unique<JobEngine>(), nullptr, parent) {}

Widget::Widget(JobEngine& engine, QWidget* parent) : Widget(nullptr, &engine, parent) {}

Widget::Widget(std::unique_ptr<JobEngine> ownEngine, JobEngine* engine, QWidget* parent)
    : QWidget(parent),
      ui(new Ui::Widget),
      m_ownEngine(std::move(ownEngine)),
      m_engine(engine != nullptr ? *engine : *m_ownEngine) {
  ui->setupUi(this);
  create_menu_label();
  setMinimumSize(800, 600);
  // A child of the window created after the form, so it outlives the tab bar.
  auto* tab_style = new TabBarStyle;
  tab_style->setParent(this);
  ui->tabWidget->tabBar()->setStyle(tab_style);
  // The button is narrow: less side padding keeps a longer word ("Change") whole.
  ui->btnChangeOutput->setStyleSheet(QStringLiteral("QPushButton { padding: 5px 2px; }"));
  // Two English lines fit the shutdown box's 30 pixels only in a smaller font (a
  // style sheet, since the application's style sheet overrides a plain setFont).
  if (get_language() == "en")
    ui->checkBoxShutdown->setStyleSheet(QStringLiteral("QCheckBox { font-size: 8pt; }"));

  restore_sign_in_state();
  set_window_title();
  relocateGUI();

  load_outputDir();
  m_running = std::make_unique<JobTable>(ui->tableWidgetRunning);
  m_done = std::make_unique<JobTable>(ui->tableWidgetDone, true);
  m_deleted = std::make_unique<JobTable>(ui->tableWidgetDel, true);
  m_tabs = new JobTabs(ui->tabWidget, {ui->tableWidgetRunning, ui->tableWidgetDone, ui->tableWidgetDel});
  load_existing_jobFile();
  start_progress_publisher();
  connect_context_menus();
  connect_desktop_features();
  // The application's style gives disabled buttons no look of their own: with nothing
  // to pause, this one should not invite a click.
  ui->btnPauseAll->setStyleSheet(QStringLiteral(
      "QPushButton:disabled { background-color: #B4C8DC; color: #EEF3F8; border-color: #9DB4CC; }"));
  ui->btnPauseAll->setToolTip(
      tr("Pause the running jobs to free the processor, or resume them; while a job is paused, no "
         "waiting job starts") +
      " (" + KeyboardShortcuts::pauseAllKey().toString(QKeySequence::NativeText) + ")");
  update_pause_button();
  // Dropped files and folders are added the way the add buttons add them.
  setAcceptDrops(true);
  connect(m_lbMenu, &MyLabel::clicked, this, &Widget::slot_on_lbMenu_clicked);

  precondition_check();

  check_new_version();
  ServerLog::background_operation_new_thread();

  // Keep-awake is asked for when a job starts (update_keep_awake), not for the
  // window's whole life: an idle program must not keep the screen from locking.
}

Widget::~Widget() {
  // First: no snapshot may arrive for a half-destroyed window.
  m_engine.StopPublishing();
  // Before the tables: their rows go with them, and the titles must not follow.
  delete m_tabs;
  m_tabs = nullptr;
  m_keepAwake.reset();
  m_desktopProgress.reset();
  delete ui;
  delete m_lbMenu;
}

void Widget::start_progress_publisher() {
  connect(&m_engine, &JobEngine::jobsStatus, this, &Widget::update_jobsProgress_mainWindowUI);
  connect(&m_engine, &JobEngine::jobFinished, this, &Widget::slot_job_finished);
  connect(&m_engine, &JobEngine::saveFailed, this, &Widget::slot_save_failed);
  m_engine.StartPublishing();
}

void Widget::connect_context_menus() {
  connect(ui->tableWidgetRunning, &QWidget::customContextMenuRequested, this,
          &Widget::slot_tableWidgetRunning_customContextMenuRequested);
  connect(ui->tableWidgetDone, &QWidget::customContextMenuRequested, this,
          &Widget::slot_tableWidgetDone_customContextMenuRequested);
  connect(ui->tableWidgetDel, &QWidget::customContextMenuRequested, this,
          &Widget::slot_tableWidgetDel_customContextMenuRequested);
}

void Widget::connect_desktop_features() {
  m_desktopProgress = std::make_unique<DesktopProgress>(this);
  m_notifier = std::make_unique<DesktopNotifier>(this);
  new EmptyTableHint(ui->tableWidgetRunning,
                     tr("Add videos with the buttons above, or drop video files here."));
  // A double-click on a finished job plays its output.
  connect(ui->tableWidgetDone, &QTableView::doubleClicked, this, [this](const QModelIndex& cell) {
    act_on_row(JobContextMenu::kCompleted, cell.row(), &Widget::slot_playOutputAction_trigger);
  });
  KeyboardShortcuts::Bindings keys;
  keys.addVideo = [this] { on_btnAdd1File_clicked(); };
  keys.pauseAll = [this] {
    if (pause_all_enabled()) on_btnPauseAll_clicked();
  };
  keys.deleteSelected = [this] { delete_selected_job(); };
  keys.openProperty = [this] {
    const int table = ui->tabWidget->currentIndex() + 1;
    act_on_row(table, job_table(table)->widget()->currentIndex().row(), &Widget::slot_propertyAction_trigger);
  };
  keys.tables = {ui->tableWidgetRunning, ui->tableWidgetDone, ui->tableWidgetDel};
  keys.tabOrder = {ui->btnAdd1File, ui->btnAddNFile,     ui->btnAddFolder, ui->btnPauseAll,
                   ui->tabWidget,   ui->btnChangeOutput, m_lbMenu,         ui->checkBoxShutdown};
  KeyboardShortcuts::install(this, keys);
}

void Widget::create_menu_label() {
  m_lbMenu = new MyLabel(this);
  m_lbMenu->setObjectName("labelMenu");
  m_lbMenu->resize(40, 40);
  m_lbMenu->setToolTip(tr("Menu"));
  m_lbMenu->setAlignment(Qt::AlignCenter);
  const std::string icon = OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "icon"), "menu.png");
  const QPixmap image(to_qstring(icon));
  if (!image.isNull())
    m_lbMenu->setPixmap(image.scaled(m_lbMenu->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Widget::restore_sign_in_state() {
  const std::optional<SignedInUser> user = SignInStore::restore();
  QString shown;
  if (user) shown = to_qstring(user->display_name.empty() ? user->user_id : user->display_name);
  ui->labelAccount->setTextFormat(Qt::PlainText);  // a name from the backend
  ui->labelAccount->setText(shown);
  ui->labelAccount->setVisible(user.has_value());
}

void Widget::set_window_title() {
  setWindowTitle(to_qstring(get_product_name()) + " v" +
                 to_qstring(StringUtil::short_version(get_current_version())) + " - " +
                 tr("Support more than twenty formats"));
}

QString Widget::shutdown_option_text(const std::string& language) {
  if (language == "en") return QStringLiteral("Shut down computer\nafter transcoding");
  return tr("Shutdown computer after transcoding");
}

void Widget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  relocateGUI();
}

void Widget::relocateGUI() {
  const int w = width();
  const int h = height();

  ui->btnAdd1File->setGeometry(10, 10, 100, 30);
  ui->btnTest->hide();
  ui->btnTest->setEnabled(false);
  // The batch buttons follow, as wide as their texts need.
  int x = 120;
  for (QPushButton* add : {ui->btnAddNFile, ui->btnAddFolder}) {
    const int width = std::max(100, add->fontMetrics().horizontalAdvance(add->text()) + 28);
    add->setGeometry(x, 10, width, 30);
    x += width + 10;
  }
  // Wide enough for either of its texts, so it does not change size as it flips.
  const QFontMetrics metrics = ui->btnPauseAll->fontMetrics();
  const int pauseWidth = std::max({100, metrics.horizontalAdvance(tr("Pause all")) + 28,
                                   metrics.horizontalAdvance(tr("Resume all")) + 28});
  ui->btnPauseAll->setGeometry(x, 10, pauseWidth, 30);
  m_lbMenu->setGeometry(w - 50, 5, 40, 40);
  // The account area sits just left of the menu label.
  ui->labelAccount->setGeometry(w - 260, 15, 200, 20);

  QTabWidget* tabs = ui->tabWidget;
  tabs->setGeometry(0, 50, w + 2, h - 89);
  tabs->setTabPosition(QTabWidget::West);
  while (tabs->count() > 3) tabs->removeTab(tabs->count() - 1);
  while (tabs->count() < 3) tabs->addTab(new QWidget, QString());
  for (int i = 0; i < 3; ++i) tabs->widget(i)->resize(w - 98, h - 89);
  // Each title with its table's count.
  if (m_tabs != nullptr) m_tabs->refresh();
  for (QTableView* table : {ui->tableWidgetRunning, ui->tableWidgetDone, ui->tableWidgetDel}) {
    table->setGeometry(0, 0, w - 98, h - 89);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
  }

  ui->lineEditOutputDir->setGeometry(5, h - 35, w - 260, 30);
  ui->lineEditOutputDir->setEnabled(false);
  ui->lineEditOutputDir->setFont(QFont(QString::fromUtf8("微软雅黑"), 12, QFont::Bold));
  ui->btnChangeOutput->setGeometry(w - 255, h - 35, 60, 30);
  ui->checkBoxShutdown->setGeometry(w - 135, h - 35, 135, 30);
  ui->checkBoxShutdown->setText(shutdown_option_text(get_language()));

  log_info("Widget::relocateGUI end.");
}

void Widget::slot_on_lbMenu_clicked() {
  std::cout << "slot_on_lbMenu_clicked, My label was clicked." << std::endl;
  // Opened from the keyboard, the menu drops from the label rather than the pointer.
  const bool byKeyboard = m_lbMenu->hasFocus() && !m_lbMenu->underMouse();
  AppMenu appMenu(this);
  const std::unique_ptr<QMenu> menu(appMenu.build());
  // The queue's own entry first, as the button beside the add buttons.
  QAction* pause = new QAction(pause_all_text(), menu.get());
  pause->setShortcut(KeyboardShortcuts::pauseAllKey());
  pause->setEnabled(pause_all_enabled());
  connect(pause, &QAction::triggered, this, &Widget::on_btnPauseAll_clicked);
  QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
  menu->insertAction(first, pause);
  menu->insertSeparator(first);
  menu->exec(byKeyboard ? m_lbMenu->mapToGlobal(QPoint(0, m_lbMenu->height())) : QCursor::pos());
}

void Widget::check_new_version() {
  const std::optional<PendingInstaller::Offer> offer =
      PendingInstaller::check(get_appdata_dir(), get_current_version());
  if (!offer) return;
  const int answer = NewVersionDialog::ask(this, offer->version, get_current_version(), offer->force);
  if (!PendingInstaller::act_on_answer(*offer, answer)) return;
  // Quit once the event loop runs; the constructor is still going here.
  hide();
  QTimer::singleShot(100, this, [this] {
    close();
    QCoreApplication::quit();
  });
}

void Widget::precondition_check() {
  log_info("Widget::precondition_check begin");
  for (const std::string& message : missing_file_messages(OSUtil::getAppDir()))
    QMessageBox::information(this, QStringLiteral("DebugInfo"), to_qstring(message), QMessageBox::Ok);
}

// --- Job tables -------------------------------------------------------------------

void Widget::UIOp_AddJobToRunning(const JobView& job) {
  add_transcoding_row(job);
  // A new job is what the user wants to see next, wherever they were.
  m_tabs->showTranscoding();
}

void Widget::add_row(JobTab tab, const JobView& job, bool stored) {
  if (tab == JobTab::Transcoding) {
    add_transcoding_row(job, stored);
    return;
  }
  JobTable* table = m_deleted.get();
  JobRowTexts::Cells cells = JobRowTexts::deleted(job.markedStopped, job.recorded == JobState::Completed);
  if (tab == JobTab::Completed) {
    std::cout << "UIOp_AddJobToCompleted,rowCount:" << m_done->rowCount() << std::endl;
    table = m_done.get();
    cells = JobRowTexts::completed();
  }
  if (stored) {
    table->insertStoredRow(job.jobID, job.inputFile, cells.time, cells.progress, job.outputFile,
                           job.targetBytes);
  } else {
    table->appendRow(job.jobID, job.inputFile, cells.time, cells.progress, job.outputFile, job.targetBytes);
  }
}

void Widget::add_transcoding_row(const JobView& job, bool stored) {
  std::cout << "UIOp_AddJobToRunning,rowCount:" << m_running->rowCount() << std::endl;
  const JobRowTexts::Cells cells = JobRowTexts::transcoding(job.state, job.progressReached);
  if (stored) {
    m_running->insertStoredRow(job.jobID, job.inputFile, cells.time, cells.progress);
  } else {
    m_running->appendRow(job.jobID, job.inputFile, cells.time, cells.progress);
  }
  if (job.state == JobState::Failed) show_failure(job.jobID, ReasonText::of(job.reason, job.why));
  if (job.state == JobState::Elsewhere)
    m_running->setRowToolTip(m_running->findRow(job.jobID), JobRowTexts::elsewhereTip());
}

void Widget::show_failure(const std::string& jobID, const QString& reason) {
  const int row = m_running->findRow(jobID);
  if (row < 0) return;
  const JobRowTexts::Cells cells = JobRowTexts::failed();
  m_running->setCell(row, JobTable::kTimeRemaining, cells.time);
  m_running->setCell(row, JobTable::kProgress, cells.progress);
  m_running->setRowToolTip(
      row, cells.progress + ": " + (reason.isEmpty() ? tr("no reason was recorded") : reason));
}

void Widget::UIOp_AddJobToCompleted(const JobView& job) { add_row(JobTab::Completed, job); }

void Widget::UIOp_AddJobToDeleted(const JobView& job) { add_row(JobTab::RecycleBin, job); }

int Widget::UIOp_GetJobRow_Running(const std::string& jobID) const { return m_running->findRow(jobID); }

std::string Widget::UIOp_GetJobID(QTableView* table, int row) const { return JobTable::jobID(table, row); }

void Widget::UIOp_UpdateJobProgress(const std::string& jobID, const std::string& time,
                                    const std::string& progress) {
  const int row = UIOp_GetJobRow_Running(jobID);
  if (row < 0) {
    std::cout << "Error,UIOp_UpdateJobProgress,can't find UI item for job:" << jobID << std::endl;
    return;
  }
  if (!m_running->setCell(row, JobTable::kTimeRemaining, format_time_remaining(time)))
    std::cout << "Error,UIOp_UpdateJobProgress col=2,item=NULL!" << std::endl;
  if (!m_running->setCell(row, JobTable::kProgress, format_progress(progress)))
    std::cout << "Error,UIOp_UpdateJobProgress col=3,item=NULL!" << std::endl;
}

void Widget::UIOp_UpdateJobProgress(const std::string& jobID, const QString& time, const QString& progress) {
  UIOp_UpdateJobProgress(jobID, to_utf8(time), to_utf8(progress));
}

QString Widget::format_time_remaining(const std::string& text) { return JobRowTexts::timeRemaining(text); }

QString Widget::format_progress(const std::string& text) { return JobRowTexts::progress(text); }

void Widget::update_jobsProgress_mainWindowUI(JobsStatus status) {
  std::cout << "update_jobsProgress_mainWindowUI,json_str:" << JobEngine::ProgressText(status) << std::endl;
  // One pass over the jobs rather than one per entry: there may be thousands.
  std::vector<std::string> listed;
  for (const JobStatus& entry : status) listed.push_back(entry.jobID);
  const std::unordered_map<std::string, JobState> states = m_engine.StatesOf(listed);
  for (const JobStatus& entry : status) {
    // A run's end comes as its own event.
    if (JobStateRules::IsFinal(entry.state) || entry.state == JobState::Idle ||
        entry.state == JobState::Deleted)
      continue;
    const auto now = states.find(entry.jobID);
    // Made before the user stopped, paused or resumed the job: it would hide that.
    if (now != states.end() && now->second != entry.state &&
        (!JobStateRules::IsActive(now->second) || now->second == JobState::Paused ||
         entry.state == JobState::Paused))
      continue;
    switch (entry.state) {
      case JobState::Waiting: {
        const QString queueing = QCoreApplication::translate("QObject", "queueing");
        UIOp_UpdateJobProgress(entry.jobID, queueing, queueing);
        break;
      }
      case JobState::Stopping: {
        const JobRowTexts::Cells cells = JobRowTexts::stopping();
        UIOp_UpdateJobProgress(entry.jobID, cells.time, cells.progress);
        break;
      }
      case JobState::Paused: {
        const JobRowTexts::Cells cells = JobRowTexts::paused(entry.progress);
        UIOp_UpdateJobProgress(entry.jobID, cells.time, cells.progress);
        break;
      }
      case JobState::Elsewhere: {
        const int row = m_running->findRow(entry.jobID);
        if (row < 0) break;
        const JobRowTexts::Cells cells = JobRowTexts::elsewhere();
        m_running->setCell(row, JobTable::kTimeRemaining, cells.time);
        m_running->setCell(row, JobTable::kProgress, cells.progress);
        m_running->setRowToolTip(row, JobRowTexts::elsewhereTip());
        break;
      }
      default: {
        QString time = JobRowTexts::timeLeft(entry.leftKind, entry.timeLeft);
        // A first output over its size is being made again: the row says so.
        if (entry.oversizedBytes > 0) {
          time = JobRowTexts::againTime(time);
          const int row = m_running->findRow(entry.jobID);
          if (row >= 0)
            m_running->setRowToolTip(row, JobRowTexts::againTip(entry.oversizedBytes, entry.targetBytes));
        }
        UIOp_UpdateJobProgress(entry.jobID, time,
                               JobRowTexts::progress(StringUtil::double_to_str(entry.progress)));
      }
    }
  }
  const std::optional<double> queueLeft = JobEngine::QueueTimeLeft(status);
  m_desktopProgress->show(OverallProgress::of(status),
                          queueLeft ? JobRowTexts::queueTimeLeft(*queueLeft) : QString());
  // Jobs that completed since the last snapshot: the countdown asks once, now that
  // the finished jobs have left the run list.
  if (m_jobDoneInSnapshot || m_shutdownWaits) {
    m_jobDoneInSnapshot = false;
    shutdown_if_all_done();
  }
  update_keep_awake();
  update_pause_button();
  std::cout << "update_jobsProgress_mainWindowUI end." << std::endl;
}

void Widget::slot_job_finished(JobFinished finished) {
  std::cout << "Widget::slot_job_finished,jobID:" << finished.jobID
            << ",outcome:" << JobStateRules::Name(finished.outcome) << std::endl;
  switch (finished.outcome) {
    case JobState::Completed:
      std::cout << "update_jobsProgress_mainWindowUI,call jobDone,jobID:" << finished.jobID << std::endl;
      m_notifier->jobFinished(finished.outputFile);
      m_applyingSnapshot = true;
      UIOp_JobDone(finished.jobID);
      m_applyingSnapshot = false;
      // The job leaves the run list with the next snapshot; without one coming, now.
      if (m_engine.ListedJobCount() == 0 && m_jobDoneInSnapshot) {
        m_jobDoneInSnapshot = false;
        shutdown_if_all_done();
      }
      break;
    case JobState::Failed: {
      const QString reason = ReasonText::of(finished.reason, finished.why);
      m_notifier->jobFailed(finished.inputFile, reason);
      show_failure(finished.jobID, reason);
      break;
    }
    case JobState::Stopped:
    case JobState::Idle: {
      // Stopped here, or let go by another Kovadle as it was.
      const int row = m_running->findRow(finished.jobID);
      if (row < 0) break;
      const QString stopped = JobRowTexts::stoppedByUser();
      // Let go as it was: cut short there, so stopped here.
      const JobRowTexts::Cells idle = JobRowTexts::transcoding(JobState::Idle);
      if (finished.outcome == JobState::Stopped) {
        UIOp_UpdateJobProgress(finished.jobID, stopped, stopped);
      } else {
        UIOp_UpdateJobProgress(finished.jobID, idle.time, idle.progress);
      }
      m_running->setRowToolTip(row, QString());
      break;
    }
    case JobState::Deleted: {
      // Another Kovadle moved it to the recycle bin.
      const int row = m_running->findRow(finished.jobID);
      if (row >= 0) m_running->removeRow(row);
      if (const std::optional<JobView> job = m_engine.View(finished.jobID)) UIOp_AddJobToDeleted(*job);
      break;
    }
    default:
      break;
  }
  update_keep_awake();
  update_pause_button();
}

void Widget::slot_save_failed(QString message) {
  PlainText::warning(this, tr("Information"),
                     tr("Kovadle could not save its list of jobs, so changes may be missing at the next "
                        "start. Free some disk space or check the folder's permissions.") +
                         "\n\n" + message);
}

void Widget::UIOp_JobDone(const std::string& jobID) {
  const int row = UIOp_GetJobRow_Running(jobID);
  if (row < 0) {
    std::cout << "Error,Widget::UIOp_JobDone,Unknown error,row=-1" << std::endl;
    return;
  }
  m_running->removeRow(row);
  if (const std::optional<JobView> job = m_engine.View(jobID)) UIOp_AddJobToCompleted(*job);
  if (m_applyingSnapshot) {
    m_jobDoneInSnapshot = true;
  } else {
    shutdown_if_all_done();
  }
}

void Widget::load_existing_jobFile() {
  log_info("Widget::load_existing_jobFile begin");
  m_storedJobsTimer = new QTimer(this);
  m_storedJobsTimer->setSingleShot(true);
  connect(m_storedJobsTimer, &QTimer::timeout, this, &Widget::show_stored_jobs);
  connect(&m_engine, &JobEngine::storedJobsTaken, this, [this](const JobIDs& jobIDs) {
    m_storedToShow.insert(m_storedToShow.end(), jobIDs.begin(), jobIDs.end());
    if (!m_storedJobsTimer->isActive()) m_storedJobsTimer->start(0);
  });
  connect(&m_engine, &JobEngine::storedJobsLoaded, this,
          [] { log_info("Widget::load_existing_jobFile, every stored job is taken up."); });
  m_engine.StartLoadingStoredJobs();
}

bool Widget::stored_jobs_shown() const { return !m_engine.LoadingStoredJobs() && m_storedToShow.empty(); }

void Widget::show_stored_jobs() {
  QElapsedTimer slice;
  slice.start();
  while (!m_storedToShow.empty() && slice.elapsed() < kStoredRowsSliceMs) {
    for (int i = 0; i < 50 && !m_storedToShow.empty(); ++i) {
      show_stored_job(m_storedToShow.front());
      m_storedToShow.pop_front();
    }
  }
  // The rest after the events that came meanwhile.
  if (!m_storedToShow.empty()) m_storedJobsTimer->start(0);
}

void Widget::show_stored_job(const std::string& jobID) {
  // An event about the job may have shown it already.
  for (const JobTable* table : {m_running.get(), m_done.get(), m_deleted.get()}) {
    if (table->findRow(jobID) >= 0) return;
  }
  // As it is now, not as it was read: it may have changed since.
  const std::optional<JobView> job = m_engine.View(jobID);
  if (job) add_row(job->tab, *job, true);
}

// --- Output folder and shutdown ------------------------------------------------------

void Widget::load_outputDir() {
  const std::string dir = get_output_dir();
  log_info("Widget::load_outputDir,outputDir:" + dir);
  ui->lineEditOutputDir->setText(" " + tr("Output Dir") + ":    " +
                                 QDir::toNativeSeparators(to_qstring(dir)));
}

void Widget::set_output_dir(const QString& folder) {
  const QString native = QDir::toNativeSeparators(folder);
  ui->lineEditOutputDir->setText(" " + tr("Output Dir") + ":    " + native);
  UserSettings::instance().setOutputDir(to_utf8(native));
  log_info("Widget::on_btnChangeOutput_clicked, new outputDir:" + to_utf8(native));
}

void Widget::on_btnChangeOutput_clicked() {
  log_info("Widget::on_btnChangeOutput_clicked, begin.");
  // Opens where the outputs go now, not in the program's working directory.
  QFileDialog dialog(this, tr("Select an output dir"), to_qstring(get_output_dir()));
  dialog.setFileMode(QFileDialog::Directory);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  set_output_dir(dialog.selectedFiles().first());
}

void Widget::shutdown_if_all_done() {
  // A snapshot that arrives while the countdown runs must not open a second one.
  if (m_countdownOpen) return;
  if (!ui->checkBoxShutdown->isChecked() || m_engine.ListedJobCount() != 0) return;
  // kovadle-cli (or another window) still encodes: not under it.
  m_shutdownWaits = m_engine.ActiveJobsElsewhere() > 0;
  if (m_shutdownWaits) return;
  m_countdownOpen = true;
  const bool shutdown = CountDownMsgBox::ConfirmShutdown(this);
  m_countdownOpen = false;
  if (shutdown) {
    std::cout << "Machine will be shutdown!!!!!!!" << std::endl;
    OSUtil::ShutdownMachineNow();
  } else {
    std::cout << "Machine shutdown was canceled!!!!!!!" << std::endl;
  }
}

QString Widget::pause_all_text() const {
  return m_engine.PausedJobCount() > 0 ? tr("Resume all") : tr("Pause all");
}

bool Widget::pause_all_enabled() const {
  return m_engine.PausedJobCount() > 0 || m_engine.PausableJobCount() > 0;
}

void Widget::update_pause_button() {
  ui->btnPauseAll->setText(pause_all_text());
  ui->btnPauseAll->setEnabled(pause_all_enabled());
}

void Widget::on_btnPauseAll_clicked() {
  log_info("Widget::on_btnPauseAll_clicked begin.");
  // The rows follow with the snapshot the change brings at once.
  if (m_engine.PausedJobCount() > 0) {
    m_engine.ResumeAll();
  } else {
    m_engine.PauseAll();
  }
  update_pause_button();
  update_keep_awake();
}

void Widget::update_keep_awake() {
  // Held through the countdown too, or the machine could fall asleep before it ends.
  const bool busy = m_countdownOpen || m_engine.BusyJobCount() > 0;
  if (busy && !m_keepAwake) {
    m_keepAwake = std::make_unique<KeepAwake>();
  } else if (!busy && m_keepAwake) {
    m_keepAwake.reset();
  }
}

// --- Adding a video ----------------------------------------------------------------

void Widget::on_btnAdd1File_clicked() {
  log_info("Widget::on_btnAdd1File_clicked begin.");
  run_add_flow([this] {
    const QString input = AddVideoFlow::askForFile(this);
    if (!input.isEmpty()) add_video_file(input);
  });
}

void Widget::on_btnAddNFile_clicked() {
  log_info("Widget::on_btnAddNFile_clicked begin.");
  run_add_flow([this] { add_video_files(BatchAddFlow::askForFiles(this)); });
}

void Widget::on_btnAddFolder_clicked() {
  log_info("Widget::on_btnAddFolder_clicked begin.");
  run_add_flow([this] {
    bool subfolders = false;
    const QString folder = BatchAddFlow::askForFolder(this, &subfolders);
    if (folder.isEmpty()) return;
    const QStringList videos = BatchAddFlow::videosInFolder(folder, subfolders);
    if (videos.isEmpty()) {
      QMessageBox::information(this, tr("Information"), tr("There are no video files in this folder."),
                               QMessageBox::Ok);
      return;
    }
    add_video_files(videos);
  });
}

bool Widget::add_video_file(const QString& inputPath) {
  const std::optional<JobView> job = AddVideoFlow::addJob(this, m_engine, to_utf8(inputPath));
  if (!job) return false;
  UIOp_AddJobToRunning(*job);
  update_keep_awake();
  update_pause_button();
  log_info("Widget::on_btnAdd1File_clicked end.");
  return true;
}

void Widget::add_batch(const QStringList& files) {
  // Each row comes with its job, before any event could report on the job.
  BatchAddFlow::addJobs(this, m_engine, files, get_output_dir(),
                        [this](const JobView& job) { UIOp_AddJobToRunning(job); });
  update_keep_awake();
  update_pause_button();
}

void Widget::add_video_files(const QStringList& paths) {
  m_filesToAdd << paths;
  // Not inside a drop or a hand-over: the dialogs of the add flow must not block them.
  if (!m_addFlowOpen) QTimer::singleShot(0, this, [this] { run_add_flow([] {}); });
}

void Widget::run_add_flow(const std::function<void()>& flow) {
  // An add flow's dialogs run their own event loops: files arriving meanwhile wait.
  if (m_addFlowOpen) return;
  m_addFlowOpen = true;
  flow();
  add_pending_files();
  m_addFlowOpen = false;
}

void Widget::add_pending_files() {
  while (!m_filesToAdd.isEmpty()) {
    const QStringList files = BatchAddFlow::expand(m_filesToAdd);
    m_filesToAdd.clear();
    if (files.size() == 1) {
      add_video_file(files.first());
    } else if (!files.isEmpty()) {
      add_batch(files);
    }
  }
}

void Widget::bring_to_front() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void Widget::dragEnterEvent(QDragEnterEvent* event) {
  if (!BatchAddFlow::droppedPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Widget::dropEvent(QDropEvent* event) {
  const QStringList paths = BatchAddFlow::droppedPaths(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  add_video_files(paths);
}

// --- Job context actions -------------------------------------------------------------

JobTable* Widget::job_table(int menuTable) const {
  switch (menuTable) {
    case JobContextMenu::kTranscoding:
      return m_running.get();
    case JobContextMenu::kCompleted:
      return m_done.get();
    case JobContextMenu::kRecycleBin:
      return m_deleted.get();
    default:
      return nullptr;
  }
}

void Widget::slot_tableWidgetRunning_customContextMenuRequested(const QPoint& pos) {
  log_info("Widget::slot_tableWidgetRunning_customContextMenuRequested begin.");
  open_job_menu(JobContextMenu::kTranscoding, pos);
}

void Widget::slot_tableWidgetDone_customContextMenuRequested(const QPoint& pos) {
  log_info("Widget::slot_tableWidgetDone_customContextMenuRequested begin.");
  open_job_menu(JobContextMenu::kCompleted, pos);
}

void Widget::slot_tableWidgetDel_customContextMenuRequested(const QPoint& pos) {
  log_info("Widget::slot_tableWidgetDel_customContextMenuRequested begin.");
  open_job_menu(JobContextMenu::kRecycleBin, pos);
}

bool Widget::is_active(const std::string& jobID) {
  const std::optional<JobView> job = m_engine.View(jobID);
  return job && JobStateRules::IsActive(job->state);
}

void Widget::open_job_menu(int table, const QPoint& pos) {
  QTableView* view = job_table(table)->widget();
  const QModelIndex cell = view->indexAt(pos);
  if (!cell.isValid()) return;
  const std::string jobID = UIOp_GetJobID(view, cell.row());
  const std::optional<JobView> job = jobID.empty() ? std::nullopt : m_engine.View(jobID);
  if (!job) return;

  JobContextMenu menu(table, job->state);
  // Emptied before every stored job is shown, the recycle bin would fill up again.
  if (!stored_jobs_shown()) menu.entry(JobContextMenu::kEmptyRecycleBin)->setEnabled(false);
  m_menuTable = table;
  // Rows move while the menu is open (a job finishes): the actions follow the job.
  m_menuJobID = jobID;
  const std::pair<JobContextMenu::Entry, void (Widget::*)()> handlers[] = {
      {JobContextMenu::kPlayOutput, &Widget::slot_playOutputAction_trigger},
      {JobContextMenu::kShowInput, &Widget::slot_openInputAction_trigger},
      {JobContextMenu::kShowOutput, &Widget::slot_openOutputAction_trigger},
      {JobContextMenu::kTranscodeAgain, &Widget::slot_startAction_trigger},
      {JobContextMenu::kTranscodeNew, &Widget::slot_transcodeNewAction_trigger},
      {JobContextMenu::kStop, &Widget::slot_stopAction_trigger},
      {JobContextMenu::kPause, &Widget::slot_pauseAction_trigger},
      {JobContextMenu::kResume, &Widget::slot_resumeAction_trigger},
      {JobContextMenu::kDelete, &Widget::slot_delAction_trigger},
      {JobContextMenu::kRestore, &Widget::slot_restoreAction_trigger},
      {JobContextMenu::kDeleteCompletely, &Widget::slot_totalDelAction_trigger},
      {JobContextMenu::kEmptyRecycleBin, &Widget::slot_delAllAction_trigger},
      {JobContextMenu::kProperty, &Widget::slot_propertyAction_trigger}};
  for (const auto& [entry, slot] : handlers) connect(menu.entry(entry), &QAction::triggered, this, slot);
  menu.exec(QCursor::pos());
}

std::optional<JobView> Widget::menu_job(const char* slotName, const char* tableError) {
  log_info(std::string("Widget::") + slotName + ", begin.");
  if (job_table(m_menuTable) == nullptr) {
    std::cout << tableError << std::endl;
    return std::nullopt;
  }
  return m_menuJobID.empty() ? std::nullopt : m_engine.View(m_menuJobID);
}

void Widget::show_active_job_message() {
  QMessageBox::information(this, tr("Information"),
                           tr("Transcode ongoing, please first stop the all transcoding") + "!",
                           QMessageBox::Ok);
}

void Widget::show_elsewhere_message() {
  QMessageBox::information(this, tr("Information"), JobRowTexts::elsewhereTip(), QMessageBox::Ok);
}

void Widget::slot_openInputAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_openInputAction_trigger", kOpenError);
  if (job) DesktopOpener::showFolderOf(this, job->inputFile);
}

void Widget::slot_openOutputAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_openOutputAction_trigger", kOpenError);
  if (job) DesktopOpener::showFolderOf(this, job->outputFile);
}

void Widget::slot_playOutputAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_playOutputAction_trigger", kOpenError);
  if (job) DesktopOpener::playOutput(this, job->outputFile);
}

void Widget::slot_restoreAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_restoreAction_trigger", kOpenError);
  if (!job || m_menuTable != JobContextMenu::kRecycleBin) return;
  const std::string jobID = job->jobID;
  // Back to the table it came from, in the state it had: nothing starts by itself.
  const JobEngine::Result result = m_engine.Restore(jobID);
  if (result != JobEngine::Result::Done) {
    if (result == JobEngine::Result::Elsewhere) show_elsewhere_message();
    return;
  }
  const int row = m_deleted->findRow(jobID);
  if (row >= 0) m_deleted->removeRow(row);
  const std::optional<JobView> restored = m_engine.View(jobID);
  if (!restored) return;
  if (restored->state == JobState::Completed) {
    UIOp_AddJobToCompleted(*restored);
  } else {
    add_transcoding_row(*restored);
  }
}

void Widget::slot_transcodeNewAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_transcodeNewAction_trigger", kOpenError);
  if (!job || m_menuTable != JobContextMenu::kCompleted) return;
  // The way of a dropped file: probe, settings dialog, a new job; this one and its
  // output stay as they are.
  add_video_files({to_qstring(job->inputFile)});
}

void Widget::act_on_row(int table, int row, void (Widget::*slot)()) {
  const JobTable* view = job_table(table);
  const std::string jobID = view == nullptr ? std::string() : view->jobID(row);
  if (jobID.empty()) return;
  m_menuTable = table;
  m_menuJobID = jobID;
  (this->*slot)();
}

void Widget::delete_selected_job() {
  const int table = ui->tabWidget->currentIndex() + 1;
  const JobTable* view = job_table(table);
  if (view == nullptr) return;
  act_on_row(table, view->widget()->currentIndex().row(),
             table == JobContextMenu::kRecycleBin ? &Widget::slot_totalDelAction_trigger
                                                  : &Widget::slot_delAction_trigger);
}

void Widget::slot_startAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_startAction_trigger", kOpenError);
  if (!job) return;
  const std::string jobID = job->jobID;
  if (is_active(jobID)) {
    std::cout << "Error,job:" << jobID << "is running, can't running again, this step shouldn't be executed!"
              << std::endl;
    return;
  }
  if (m_menuTable != JobContextMenu::kTranscoding) {
    std::cout << "Error,slot_startAction_trigger menu start should be disabled when Done and Del."
              << std::endl;
    return;
  }
  if (job->state == JobState::Elsewhere) {
    show_elsewhere_message();
    return;
  }
  std::cout << "slot_startAction_trigger,=====start Run job." << std::endl;
  // Planning the command needs the input's probe: after a restart it is not cached.
  if (!WaitingLoadingFile::EnsureProbed(job->inputFile)) return;
  // The job may have changed while the probe ran: the engine refuses what no longer fits.
  const JobEngine::Result result = m_engine.Start(jobID);
  if (result != JobEngine::Result::Done) {
    if (result == JobEngine::Result::Elsewhere) show_elsewhere_message();
    return;
  }
  // The failure's reason belongs to the run that failed.
  m_running->setRowToolTip(m_running->findRow(jobID), QString());
  update_keep_awake();
  update_pause_button();
}

void Widget::slot_stopAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_stopAction_trigger", kOpenError);
  if (!job || m_menuTable != JobContextMenu::kTranscoding) return;
  const std::string jobID = job->jobID;
  // Refused when too late too: the whole output is taking its name and the job completes.
  if (m_engine.Stop(jobID) != JobEngine::Result::Done) return;
  // The stop does not wait for the encoder: until it has ended the row says so.
  const std::optional<JobView> now = m_engine.View(jobID);
  const JobRowTexts::Cells stopping = JobRowTexts::stopping();
  const QString stopped = JobRowTexts::stoppedByUser();
  if (now && now->state == JobState::Stopping) {
    UIOp_UpdateJobProgress(jobID, stopping.time, stopping.progress);
  } else {
    UIOp_UpdateJobProgress(jobID, stopped, stopped);
  }
  update_keep_awake();
  update_pause_button();
}

void Widget::slot_pauseAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_pauseAction_trigger", kOpenError);
  if (!job || m_menuTable != JobContextMenu::kTranscoding) return;
  if (m_engine.Pause(job->jobID) != JobEngine::Result::Done) return;
  if (const std::optional<JobView> now = m_engine.View(job->jobID); now && now->state == JobState::Paused) {
    const JobRowTexts::Cells cells = JobRowTexts::paused(now->progress);
    UIOp_UpdateJobProgress(job->jobID, cells.time, cells.progress);
  }
  update_pause_button();
  update_keep_awake();
}

void Widget::slot_resumeAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_resumeAction_trigger", kOpenError);
  if (!job || m_menuTable != JobContextMenu::kTranscoding) return;
  // Its figures come with the next snapshot, at once.
  if (m_engine.Resume(job->jobID) != JobEngine::Result::Done) return;
  update_pause_button();
  update_keep_awake();
}

void Widget::slot_delAction_trigger() {
  const std::optional<JobView> job =
      menu_job("slot_delAction_trigger", "Error,slot_delAction_trigger,num!={1,2,3}");
  if (!job || m_menuTable == JobContextMenu::kRecycleBin) return;
  const std::string jobID = job->jobID;
  if (job->state == JobState::Deleted) {
    std::cout << "job:" << jobID << "already deleted, can't delete again, this step shouldn't be executed!"
              << std::endl;
    return;
  }
  if (JobStateRules::IsActive(job->state)) {
    show_active_job_message();
    return;
  }
  JobTable* table = job_table(m_menuTable);
  const int row = table->findRow(jobID);
  if (row < 0) return;
  if (m_engine.Delete(jobID) != JobEngine::Result::Done) {
    show_elsewhere_message();
    return;
  }
  table->removeRow(row);
  if (const std::optional<JobView> deleted = m_engine.View(jobID)) UIOp_AddJobToDeleted(*deleted);
}

void Widget::slot_totalDelAction_trigger() {
  const std::optional<JobView> job =
      menu_job("slot_totalDelAction_trigger", "Error,slot_totalDelAction_trigger,num!={1,2,3}");
  if (!job) return;
  if (m_menuTable != JobContextMenu::kRecycleBin) {
    std::cout << "Error,slot_totalDelAction_trigger,only allow total delete when tableWidgetDel" << std::endl;
    return;
  }
  const std::string jobID = job->jobID;
  if (JobStateRules::IsActive(job->state)) {
    show_active_job_message();
    return;
  }
  const DeleteConfirmation::Answer answer = DeleteConfirmation::ask(this, m_engine.OutputFateOf(jobID));
  if (!answer.confirmed) return;
  std::cout << "Widget::slot_totalDelAction_trigger,deleteJob:" << answer.confirmed
            << ",deleteOutFile:" << answer.deleteOutput << std::endl;
  const TotalDeletion deletion =
      m_engine.DeleteCompletely(jobID, answer.deleteOutput ? OutputDisposal::Trash : OutputDisposal::Keep);
  if (!deletion) {
    show_elsewhere_message();
    return;
  }
  if (deletion.output == OutputFate::TrashFailed &&
      DeleteConfirmation::confirmRemoval(this, deletion.outputFile))
    m_engine.RemoveOutput(deletion);
  const int row = m_deleted->findRow(jobID);
  if (row >= 0) m_deleted->removeRow(row);
}

void Widget::slot_delAllAction_trigger() {
  log_info("Widget::slot_delAllAction_trigger, begin.");
  if (job_table(m_menuTable) == nullptr) {
    std::cout << "Error,slot_delAllAction_trigger,num!={1,2,3}" << std::endl;
    return;
  }
  if (m_menuTable != JobContextMenu::kRecycleBin) {
    std::cout << "Error,slot_delAllAction_trigger,only allow delete all when tableWidgetDel" << std::endl;
    return;
  }
  if (!stored_jobs_shown()) {
    std::cout << "Error,slot_delAllAction_trigger,the stored jobs are still being shown" << std::endl;
    return;
  }
  QMessageBox question(QMessageBox::Question, tr("Empty Recycle Bin"),
                       tr("Are you sure to empty the recyle bin") + "?", QMessageBox::Yes | QMessageBox::No);
  question.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  if (question.exec() != QMessageBox::Yes) return;
  for (int i = m_deleted->rowCount() - 1; i >= 0; --i) {
    const std::string jobID = m_deleted->jobID(i);
    if (jobID.empty()) {
      std::cout << "jobID is empty,i:" << i << std::endl;
      continue;
    }
    if (is_active(jobID)) {
      show_active_job_message();
      return;
    }
    // One another process holds stays; the rest go.
    if (m_engine.DeleteCompletely(jobID, false) == JobEngine::Result::Done) m_deleted->removeRow(i);
  }
  log_info("Widget::slot_delAllAction_trigger, end.");
}

void Widget::slot_propertyAction_trigger() {
  const std::optional<JobView> job = menu_job("slot_propertyAction_trigger", kOpenError);
  if (!job) return;
  if (!WaitingLoadingFile::EnsureProbed(job->inputFile)) return;
  // Its figures beside the estimate: the output's own record, probed afresh.
  if (job->recorded == JobState::Completed && !WaitingLoadingFile::EnsureProbed(job->outputFile, true))
    return;
  SettingWindow1File property(nullptr, job->inputFile, "", true, &*job);
  property.setWindowTitle(tr("Property"));
  property.exec();
}

// --- Close request --------------------------------------------------------------------

int Widget::active_job_count() { return m_engine.ActiveJobCount(); }

void Widget::closeEvent(QCloseEvent* event) {
  // A job that has finished but is not yet shown is nothing to ask about.
  if (active_job_count() == 0) {
    event->accept();
    return;
  }
  QMessageBox box;
  box.setText(tr("Information"));
  box.setWindowTitle(to_qstring(get_product_name()));
  box.setInformativeText(tr("Exit? if yes, all transcoding task will be terminated") + "!!!");
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Ok);
  if (box.exec() != QMessageBox::Ok) {
    event->ignore();
    return;
  }
  stop_all_active_jobs();
  wait_for_stopped_encoders();
  event->accept();
}

void Widget::wait_for_stopped_encoders() {
  auto anyStopping = [this] { return m_engine.LiveEncoderCount() > 0; };
  if (!anyStopping()) return;
  QMessageBox note(QMessageBox::Information, to_qstring(get_product_name()),
                   tr("Stopping the transcodes") + "...", QMessageBox::NoButton, this);
  note.setStandardButtons(QMessageBox::NoButton);
  note.setWindowModality(Qt::WindowModal);
  note.show();
  // An encoder stuck on a dead network share must not hold the window for ever:
  // what has not ended by then ends with the program.
  QElapsedTimer waited;
  waited.start();
  while (anyStopping() && waited.elapsed() < kLongestCloseWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    QThread::msleep(20);
  }
  note.hide();
}

void Widget::stop_all_active_jobs() {
  for (int row = 0; row < m_running->rowCount(); ++row) {
    const std::string jobID = m_running->jobID(row);
    if (jobID.empty() || !is_active(jobID)) continue;
    m_engine.Stop(jobID);
    UIOp_UpdateJobProgress(jobID, std::string("stopped"), std::string("stopped"));
  }
  update_keep_awake();
  update_pause_button();
}
