#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "jobs/PreparedInput.h"

class QLabel;
class QMovie;
class QPushButton;
class QTimer;

// The turning animation shown while newly chosen files are probed. Constructing it
// starts the work on a thread pool of its own; exec() returns once it is done, even
// when it finished before exec() was called. Destroying it while probes still run is
// safe: they finish on their own (and fill the probe cache) and take up no more.
//
// One file is only probed (the caller judges it from the cache); the user cannot
// dismiss the wait. Several files are probed and judged a few at a time, the dialog
// counting them ("Checking 257 of 10,000…"); Cancel (or Escape, or the program's
// end) stops at once: exec() returns Rejected and no further file is probed.
class WaitingLoadingFile : public QDialog {
  Q_OBJECT

 public:
  // How many files of a batch are probed at the same time.
  static constexpr int kProbesAtOnce = 4;

  WaitingLoadingFile(QWidget* parent, const std::string& inputFile);
  WaitingLoadingFile(QWidget* parent, const std::vector<std::string>& inputFiles);
  ~WaitingLoadingFile() override;

  // True once the work has finished and its end has reached this dialog.
  bool IsProbeDone() const { return probeDone_; }
  bool IsCancelled() const;
  // A batch's files as the engine judged them, in their order; complete only when
  // the dialog ended by itself (not cancelled).
  std::vector<PreparedInput> Prepared() const;

  // Makes sure the file is in the probe cache before the interface thread asks
  // for it (to plan a command or show the settings): a file not probed yet is
  // probed on the pool behind this dialog, so the window never waits on the probe.
  // fresh: probe it again even when a record is cached (a file written since).
  // False when the wait ended otherwise (the program is ending): do not go on.
  static bool EnsureProbed(const std::string& inputFile, bool fresh = false);

 signals:
  // Emitted by the probe task when it is done; delivered queued to the interface thread.
  void signal_close_waiting_window(QString inputFile);

 public slots:
  void slot_close_waiting_window(QString inputFile);
  // Ends the wait once the work is done. Before that a batch is cancelled (Cancel,
  // Escape, closing): no file is probed after the ones under way. A single probe's
  // wait cannot end early.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct ProbeLink;

  void maskToAnimation();
  void showCount();

  QLabel* label_gif = nullptr;
  QMovie* movie_ = nullptr;
  QLabel* labelCount_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
  QTimer* countTimer_ = nullptr;
  bool probeDone_ = false;
  bool batch_ = false;
  // Shared with the probe tasks, which may outlive the dialog.
  std::shared_ptr<ProbeLink> link_;
};
