#pragma once

#include <QDialog>

class QLabel;

// Shows the device id the user quotes to customer support, with a Copy button
// that puts it on the clipboard.
class ShowDeviceID : public QDialog {
  Q_OBJECT

 public:
  explicit ShowDeviceID(QWidget* parent = nullptr);

 private slots:
  void on_btnCopy_clicked();
  void on_btnClose_clicked();

 private:
  QLabel* m_deviceId = nullptr;
};
