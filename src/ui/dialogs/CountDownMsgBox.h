#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>

// The last chance to keep the machine running after the final transcode: a
// warning box that counts down from 60 and presses "Shutdown now" by itself one
// tick after showing 0. It only asks; shutting down is the caller's business.
class CountDownMsgBox : public QMessageBox {
  Q_OBJECT

 public:
  explicit CountDownMsgBox(QWidget* parent);

  // Runs the countdown modally. True when the machine is to be shut down ("Shutdown
  // now" pressed by the user or by the countdown); false for "Cancel shutdown",
  // Escape or closing the box.
  static bool ConfirmShutdown(QWidget* parent);

  // Time between two ticks, 1000 ms unless changed. Tests shorten it to run the
  // whole countdown quickly; it applies to boxes created afterwards.
  static void setTickIntervalMs(int ms);
  static int tickIntervalMs();

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void Tick();

 private:
  QTimer timer_;
  int counter_ = 61;
  QString template_;
  QSize widest_;
};
