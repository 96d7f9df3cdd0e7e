#include "ui/dialogs/WaitingLoadingFile.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QStyle>
#include <QtConcurrent>
#include <iostream>
#include <mutex>

#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"

// What the probe task knows of the dialog: cleared by the destructor, so a task
// that ends later emits into nothing.
struct WaitingLoadingFile::ProbeLink {
  std::mutex lock;
  WaitingLoadingFile* dialog = nullptr;
};

WaitingLoadingFile::WaitingLoadingFile(QWidget* parent, const std::string& inputFile)
    : WaitingLoadingFile(parent, std::vector<std::string>{inputFile}) {}

WaitingLoadingFile::WaitingLoadingFile(QWidget* parent, const std::vector<std::string>& inputFiles)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), link_(std::make_shared<ProbeLink>()) {
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
  maskToAnimation();

  // Queued: the task emits from a pool thread, the dialog closes on its own thread.
  connect(this, &WaitingLoadingFile::signal_close_waiting_window, this,
          &WaitingLoadingFile::slot_close_waiting_window, Qt::QueuedConnection);

  link_->dialog = this;
  std::shared_ptr<ProbeLink> link = link_;
  QtConcurrent::run([link, inputFiles] {
    const std::string first = inputFiles.empty() ? std::string() : inputFiles.front();
    std::cout << "do_thread begin:" << first << std::endl;
    for (const std::string& inputFile : inputFiles) MediaInfoCache::GetInstance().GetMediaInfo(inputFile);
    {
      // Emitting only posts an event; holding the lock keeps the dialog alive meanwhile.
      std::lock_guard<std::mutex> guard(link->lock);
      if (link->dialog != nullptr) emit link->dialog->signal_close_waiting_window(to_qstring(first));
    }
    std::cout << "do_thread end:" << first << std::endl;
  });
}

void WaitingLoadingFile::maskToAnimation() {
  // Without a compositor a translucent window is painted black where it should be
  // see-through; keeping only the animation's opaque pixels looks the same either way.
  const QPixmap frame = movie_->currentPixmap();
  if (frame.isNull()) return;
  const QRect shown =
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frame.size(), label_gif->geometry());
  const QBitmap opaque = frame.mask();
  setMask((opaque.isNull() ? QRegion(frame.rect()) : QRegion(opaque)).translated(shown.topLeft()));
}

void WaitingLoadingFile::EnsureProbed(const std::string& inputFile) {
  if (MediaInfoCache::GetInstance().Contains(inputFile)) return;
  WaitingLoadingFile waiting(nullptr, inputFile);
  waiting.exec();
}

WaitingLoadingFile::~WaitingLoadingFile() {
  {
    std::lock_guard<std::mutex> guard(link_->lock);
    link_->dialog = nullptr;
  }
  movie_->stop();
}

void WaitingLoadingFile::slot_close_waiting_window(QString) {
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

void WaitingLoadingFile::closeEvent(QCloseEvent* event) {
  if (!probeDone_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void WaitingLoadingFile::keyPressEvent(QKeyEvent* event) {
  // Escape would end the wait while the probe still runs.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
