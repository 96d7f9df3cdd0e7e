#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "jobs/JobEngine.h"

namespace Ui {
class Widget;
}
class DesktopNotifier;
class DesktopProgress;
class JobTable;
class JobTabs;
class KeepAwake;
class MyLabel;
class QTableView;
class QTimer;

// The main window: the three job tables, the add buttons, the output folder and
// the shutdown option, and the menu label in the top-right corner.
class Widget : public QWidget {
  Q_OBJECT

 public:
  // Works on an engine of its own over the program's job manager.
  explicit Widget(QWidget* parent = nullptr);
  // Works on the given engine (the program's start, tests and benchmarks).
  explicit Widget(JobEngine& engine, QWidget* parent = nullptr);
  ~Widget() override;

  // Shows a box for every file the program needs but cannot find beside it.
  void precondition_check();

  // The shutdown option's text for an interface language.
  static QString shutdown_option_text(const std::string& language);

  // Offers a verified newer installer waiting in the data folder (or cleans up
  // one that is no longer newer); may end the program.
  void check_new_version();

  // --- Job tables --------------------------------------------------------------
  void UIOp_AddJobToRunning(const JobView& job);
  void UIOp_AddJobToCompleted(const JobView& job);
  void UIOp_AddJobToDeleted(const JobView& job);
  int UIOp_GetJobRow_Running(const std::string& jobID) const;
  std::string UIOp_GetJobID(QTableView* table, int row) const;
  // Rewrites the Time Remaining and Progress cells from the publisher's texts.
  void UIOp_UpdateJobProgress(const std::string& jobID, const std::string& time, const std::string& progress);
  void UIOp_UpdateJobProgress(const std::string& jobID, const QString& time, const QString& progress);
  // Moves a finished job from Transcoding to Completed, then the shutdown check.
  void UIOp_JobDone(const std::string& jobID);
  static QString format_time_remaining(const std::string& text);
  static QString format_progress(const std::string& text);
  // Starts taking up the stored jobs: the window does not wait for them. Their rows
  // come a slice at a time, the Transcoding table's first.
  void load_existing_jobFile();
  // Every stored job has its row.
  bool stored_jobs_shown() const;

  // --- Output folder --------------------------------------------------------------
  void load_outputDir();
  // Shows the folder and stores it as the output folder of the next videos.
  void set_output_dir(const QString& folder);

  // --- Adding a video ---------------------------------------------------------------
  // Everything after the file dialog: probe, refusals, settings dialog, the new
  // job's row and its hand-over to the manager. False when nothing was added.
  bool add_video_file(const QString& inputPath);
  // Files and folders to add as if dropped: one file takes the way of Add Video,
  // several (a folder's videos) that of a batch. Added after the add flow open now.
  void add_video_files(const QStringList& paths);
  // Shows the window in front of the others (a later start asked for it).
  void bring_to_front();

 public slots:
  // The publisher's typed snapshot of the submitted jobs.
  void update_jobsProgress_mainWindowUI(JobsStatus status);
  // A run ended: completed jobs move to Completed, failed ones say why.
  void slot_job_finished(JobFinished finished);
  // A job file could not be written (said once).
  void slot_save_failed(QString message);

  void on_btnAdd1File_clicked();
  void on_btnAddNFile_clicked();
  void on_btnAddFolder_clicked();
  // Pauses every running job, or resumes the paused ones when there are any.
  void on_btnPauseAll_clicked();
  void on_btnChangeOutput_clicked();

  void slot_tableWidgetRunning_customContextMenuRequested(const QPoint& pos);
  void slot_tableWidgetDone_customContextMenuRequested(const QPoint& pos);
  void slot_tableWidgetDel_customContextMenuRequested(const QPoint& pos);
  void slot_openInputAction_trigger();
  void slot_openOutputAction_trigger();
  void slot_startAction_trigger();
  void slot_stopAction_trigger();
  void slot_pauseAction_trigger();
  void slot_resumeAction_trigger();
  void slot_delAction_trigger();
  void slot_totalDelAction_trigger();
  void slot_delAllAction_trigger();
  void slot_propertyAction_trigger();
  void slot_playOutputAction_trigger();
  void slot_restoreAction_trigger();
  // "Transcode again…" on a finished job: the add flow on its input, a new job.
  void slot_transcodeNewAction_trigger();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private slots:
  // Opens the application menu.
  void slot_on_lbMenu_clicked();

 private:
  Widget(std::unique_ptr<JobEngine> ownEngine, JobEngine* engine, QWidget* parent);
  void create_menu_label();
  void restore_sign_in_state();
  void set_window_title();
  void relocateGUI();
  void start_progress_publisher();
  void connect_context_menus();
  // Progress and notifications on the desktop, the empty-table hint, double-click
  // and the keyboard.
  void connect_desktop_features();

  JobTable* job_table(int menuTable) const;
  void open_job_menu(int table, const QPoint& pos);
  // Logs the action's begin line and returns the menu's job; none when it is gone,
  // or (after writing tableError) when no menu table is set.
  std::optional<JobView> menu_job(const char* slotName, const char* tableError);
  // Runs an action slot for a row as if its context menu had been opened there.
  void act_on_row(int table, int row, void (Widget::*slot)());
  // The keyboard's Delete: the selected job to the recycle bin, or out of it for good.
  void delete_selected_job();
  bool is_active(const std::string& jobID);
  void show_active_job_message();
  // Another Kovadle process owns the job: nothing is changed here.
  void show_elsewhere_message();
  // A row for the job in its table (a Transcoding row in its state, with the
  // failure's reason as tooltip); a stored job's goes before this session's jobs.
  void add_row(JobTab tab, const JobView& job, bool stored = false);
  void add_transcoding_row(const JobView& job, bool stored = false);
  // Rows for the stored jobs taken up so far, for as long as one slice may take.
  void show_stored_jobs();
  void show_stored_job(const std::string& jobID);
  void show_failure(const std::string& jobID, const QString& reason);
  // After Ok to the close request: waits, bounded, until the stopped encoders have
  // ended, showing that it does.
  void wait_for_stopped_encoders();
  void open_folder_of(bool input);
  // Stops every running or queued job of the Transcoding table (the close request).
  void stop_all_active_jobs();
  int active_job_count();

  // The countdown and the shutdown, once per snapshot and never while one is open.
  void shutdown_if_all_done();
  // Runs an add flow unless one is open, then adds the files that came meanwhile.
  void run_add_flow(const std::function<void()>& flow);
  void add_pending_files();
  void add_batch(const QStringList& files);
  // Holds keep-awake exactly while the engine has jobs to run or report, none of
  // them held by a pause.
  void update_keep_awake();
  // The pause button (and its menu entry, its key) says what it does now: "Pause all"
  // while nothing is paused, "Resume all" once something is; disabled when neither
  // has anything to act on.
  void update_pause_button();
  // The pause button's text and whether it acts now.
  QString pause_all_text() const;
  bool pause_all_enabled() const;

  Ui::Widget* ui;
  std::unique_ptr<JobEngine> m_ownEngine;
  JobEngine& m_engine;
  MyLabel* m_lbMenu = nullptr;
  std::unique_ptr<JobTable> m_running;
  std::unique_ptr<JobTable> m_done;
  std::unique_ptr<JobTable> m_deleted;
  JobTabs* m_tabs = nullptr;
  std::unique_ptr<KeepAwake> m_keepAwake;
  std::unique_ptr<DesktopProgress> m_desktopProgress;
  std::unique_ptr<DesktopNotifier> m_notifier;

  // The table and job the last context menu was opened on.
  int m_menuTable = 0;
  std::string m_menuJobID;

  bool m_applyingSnapshot = false;
  bool m_jobDoneInSnapshot = false;
  bool m_countdownOpen = false;
  // The last job here ended while another Kovadle's still ran: the countdown waits for those.
  bool m_shutdownWaits = false;

  // Stored jobs taken up and not shown yet, in the order they are to be shown.
  std::deque<std::string> m_storedToShow;
  QTimer* m_storedJobsTimer = nullptr;

  // Files dropped or handed over while an add flow was open, added after it.
  QStringList m_filesToAdd;
  bool m_addFlowOpen = false;
};
