#include "ui/dialogs/CountDownMsgBox.h"

#include <QPushButton>
#include <atomic>

#include "environment/AppConstants.h"
#include "text/QtText.h"

namespace {

std::atomic<int> tick_interval_ms{1000};

}  // namespace

CountDownMsgBox::CountDownMsgBox(QWidget* parent) : QMessageBox(parent) {
  template_ = tr("All transcoding tasks have been completed") + ",  %1 " + tr("seconds to shutdown");
  setIcon(QMessageBox::Warning);
  setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  setDefaultButton(QMessageBox::Yes);
  setEscapeButton(QMessageBox::No);
  setWindowTitle(to_qstring(get_product_name()));
  button(QMessageBox::Yes)->setText(tr("Shutdown now") + "!");
  button(QMessageBox::No)->setText(tr("Cancel shutdown") + "!");
  // Room for the longest text from the start, so the box keeps its size while counting.
  setText(template_.arg(60));
  setSizeGripEnabled(false);

  timer_.setInterval(tick_interval_ms);
  connect(&timer_, &QTimer::timeout, this, &CountDownMsgBox::Tick);
}

bool CountDownMsgBox::ConfirmShutdown(QWidget* parent) {
  CountDownMsgBox box(parent);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

void CountDownMsgBox::setTickIntervalMs(int ms) { tick_interval_ms = ms; }

int CountDownMsgBox::tickIntervalMs() { return tick_interval_ms; }

void CountDownMsgBox::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);
  // Shown again after being hidden: the countdown goes on where it was.
  if (timer_.isActive() || counter_ < 0) return;
  Tick();
  timer_.start();
}

void CountDownMsgBox::Tick() {
  --counter_;
  if (counter_ >= 0) {
    setText(template_.arg(counter_));
    // A shorter number must not shrink the box and move the buttons under the pointer.
    widest_ = widest_.expandedTo(size());
    setFixedSize(widest_);
    return;
  }
  timer_.stop();
  defaultButton()->animateClick(100);
}
