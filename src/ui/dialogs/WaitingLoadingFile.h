#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMovie;

// The turning animation shown while a newly chosen file is probed. Constructing
// it starts the probe (through the probe cache) on Qt's global thread pool;
// exec() returns once the probe is done, even when it finished before exec()
// was called. The user cannot dismiss it earlier. Destroying it while the probe
// still runs is safe: the probe finishes on its own and fills the cache.
class WaitingLoadingFile : public QDialog {
  Q_OBJECT

 public:
  WaitingLoadingFile(QWidget* parent, const std::string& inputFile);
  // Probes several files one after the other (a batch), behind one animation.
  WaitingLoadingFile(QWidget* parent, const std::vector<std::string>& inputFiles);
  ~WaitingLoadingFile() override;

  // True once the probe has finished and its end has reached this dialog.
  bool IsProbeDone() const { return probeDone_; }

  // Makes sure the file is in the probe cache before the interface thread asks
  // for it (to plan a command or show the settings): a file not probed yet is
  // probed on the pool behind this dialog, so the window never waits on the probe.
  static void EnsureProbed(const std::string& inputFile);

 signals:
  // Emitted by the probe task when it is done; delivered queued to the interface thread.
  void signal_close_waiting_window(QString inputFile);

 public slots:
  void slot_close_waiting_window(QString inputFile);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct ProbeLink;

  void maskToAnimation();

  QLabel* label_gif = nullptr;
  QMovie* movie_ = nullptr;
  bool probeDone_ = false;
  // Shared with the probe task, which may outlive the dialog.
  std::shared_ptr<ProbeLink> link_;
};
