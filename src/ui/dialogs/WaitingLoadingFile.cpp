#include "ui/dialogs/WaitingLoadingFile.h"

#include <QBitmap>
#include <QLabel>
#include <QLocale>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>
#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>

#include "jobs/JobEngine.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"

// What the probe tasks know of the dialog: cleared by the destructor, so a task that
// ends later emits into nothing, and a cancelled batch takes up no further file.
struct WaitingLoadingFile::ProbeLink {
  std::mutex lock;
  WaitingLoadingFile* dialog = nullptr;  // under lock
  std::vector<std::string> files;
  std::vector<PreparedInput> prepared;  // under lock
  bool judge = false;                   // a batch: each file is judged too
  std::atomic<bool> cancelled{false};
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  std::atomic<int> tasksLeft{0};
};

namespace {

// The probes' own threads. Qt's global pool would do, but Qt itself waits on it
// (converting a large image for a window icon, for one): probes filling it would
// hold the interface. Goes with the application, once the probes under way are done.
QThreadPool* probe_pool() {
  static QPointer<QThreadPool> pool;
  if (pool.isNull()) {
    pool = new QThreadPool(QCoreApplication::instance());
    pool->setMaxThreadCount(WaitingLoadingFile::kProbesAtOnce);
  }
  return pool;
}

}  // namespace

WaitingLoadingFile::WaitingLoadingFile(QWidget* parent, const std::string& inputFile)
    : WaitingLoadingFile(parent, std::vector<std::string>{inputFile}) {}

WaitingLoadingFile::WaitingLoadingFile(QWidget* parent, const std::vector<std::string>& inputFiles)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      batch_(inputFiles.size() > 1),
      link_(std::make_shared<ProbeLink>()) {
  resize(481, 357);
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowOpacity(1.0);

  label_gif = new QLabel(this);
  label_gif->setObjectName("label_gif");
  label_gif->setGeometry(40, 50, 251, 161);
  label_gif->setStyleSheet("QLabel {background-color:transparent;}");
  label_gif->setAlignment(Qt::AlignCenter);
  const std::string gif = OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "icon"), "loading.gif");
  movie_ = new QMovie(to_qstring(gif), QByteArray(), this);
  label_gif->setMovie(movie_);
  movie_->start();
  if (batch_) {
    labelCount_ = new QLabel(this);
    labelCount_->setObjectName("labelCount");
    labelCount_->setAlignment(Qt::AlignCenter);
    labelCount_->setGeometry(20, 215, 291, 26);
    btnCancel_ = new QPushButton(tr("Cancel"), this);
    btnCancel_->setObjectName("btnCancel");
    btnCancel_->setGeometry(125, 246, 81, 30);
    connect(btnCancel_, &QPushButton::clicked, this, &WaitingLoadingFile::reject);
    // The count is read from the tasks' counter: no signal per file.
    countTimer_ = new QTimer(this);
    connect(countTimer_, &QTimer::timeout, this, &WaitingLoadingFile::showCount);
    countTimer_->start(100);
  }
  maskToAnimation();

  // Queued: the task emits from a pool thread, the dialog closes on its own thread.
  connect(this, &WaitingLoadingFile::signal_close_waiting_window, this,
          &WaitingLoadingFile::slot_close_waiting_window, Qt::QueuedConnection);

  link_->dialog = this;
  link_->files = inputFiles;
  link_->judge = batch_;
  if (batch_) {
    link_->prepared.resize(inputFiles.size());
    showCount();
  }
  const int tasks = batch_ ? int(std::min<size_t>(inputFiles.size(), kProbesAtOnce)) : 1;
  link_->tasksLeft = tasks;
  std::shared_ptr<ProbeLink> link = link_;
  for (int task = 0; task < tasks; ++task) {
    QtConcurrent::run(probe_pool(), [link] {
      const std::string first = link->files.empty() ? std::string() : link->files.front();
      std::cout << "do_thread begin:" << first << std::endl;
      for (size_t i = link->next++; i < link->files.size() && !link->cancelled; i = link->next++) {
        const std::string& path = link->files[i];
        if (link->judge) {
          PreparedInput judged = JobEngine::Prepare(path);
          std::lock_guard<std::mutex> guard(link->lock);
          link->prepared[i] = std::move(judged);
        } else {
          MediaInfoCache::GetInstance().GetMediaInfo(path);
        }
        ++link->done;
      }
      if (--link->tasksLeft == 0) {
        // Emitting only posts an event; holding the lock keeps the dialog alive meanwhile.
        std::lock_guard<std::mutex> guard(link->lock);
        if (link->dialog != nullptr) emit link->dialog->signal_close_waiting_window(to_qstring(first));
      }
      std::cout << "do_thread end:" << first << std::endl;
    });
  }
}

void WaitingLoadingFile::maskToAnimation() {
  // Without a compositor a translucent window is painted black where it should be
  // see-through; keeping only the animation's opaque pixels (and a batch's count
  // and button) looks the same either way.
  const QPixmap frame = movie_->currentPixmap();
  if (frame.isNull()) return;
  const QRect shown =
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frame.size(), label_gif->geometry());
  const QBitmap opaque = frame.mask();
  QRegion kept = (opaque.isNull() ? QRegion(frame.rect()) : QRegion(opaque)).translated(shown.topLeft());
  if (labelCount_ != nullptr) kept += QRegion(labelCount_->geometry()) + QRegion(btnCancel_->geometry());
  setMask(kept);
}

void WaitingLoadingFile::showCount() {
  // Grouped as the figures of the interface are: "10,000".
  const QLocale grouped(QLocale::English, QLocale::UnitedStates);
  const size_t total = link_->files.size();
  const size_t checking = std::min(total, link_->done.load() + 1);
  labelCount_->setText(tr("Checking %1 of %2")
                           .arg(grouped.toString(qulonglong(checking)), grouped.toString(qulonglong(total))) +
                       QStringLiteral("…"));
}

bool WaitingLoadingFile::EnsureProbed(const std::string& inputFile, bool fresh) {
  if (fresh) MediaInfoCache::GetInstance().Forget(inputFile);
  if (MediaInfoCache::GetInstance().Contains(inputFile)) return true;
  WaitingLoadingFile waiting(nullptr, inputFile);
  waiting.exec();
  return waiting.IsProbeDone();
}

WaitingLoadingFile::~WaitingLoadingFile() {
  // A batch nobody reads any more stops; a single file is still probed for the
  // cache, also when its task had not started yet.
  if (batch_) link_->cancelled = true;
  {
    std::lock_guard<std::mutex> guard(link_->lock);
    link_->dialog = nullptr;
  }
  movie_->stop();
}

bool WaitingLoadingFile::IsCancelled() const { return link_->cancelled; }

std::vector<PreparedInput> WaitingLoadingFile::Prepared() const {
  std::lock_guard<std::mutex> guard(link_->lock);
  return link_->prepared;
}

void WaitingLoadingFile::reject() {
  if (!probeDone_) {
    if (!batch_) return;
    // The tasks finish the file they are at on their own; nobody waits for them.
    link_->cancelled = true;
    probeDone_ = true;
  }
  QDialog::reject();
}

void WaitingLoadingFile::slot_close_waiting_window(QString) {
  if (probeDone_) return;
  probeDone_ = true;
  close();
}

void WaitingLoadingFile::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The probe ended before the dialog was shown: close as soon as exec()'s loop runs.
  if (probeDone_)
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}
