#include "ui/dialogs/ShowDeviceID.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "environment/AppConstants.h"
#include "text/QtText.h"

ShowDeviceID::ShowDeviceID(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(tr("DeviceID"));
  setFixedSize(300, 200);

  auto* caption = new QLabel(tr("DeviceID"), this);
  // The application style sheet sets every widget's font; the caption needs its own rule.
  caption->setStyleSheet(QStringLiteral("font: bold 11pt \"SimSun\";"));
  caption->setGeometry(125, 10, 100, 30);

  m_deviceId = new QLabel(to_qstring(get_device_id()), this);
  m_deviceId->setObjectName(QStringLiteral("labelDeviceID"));
  m_deviceId->setGeometry(50, 50, 200, 30);
  m_deviceId->setAlignment(Qt::AlignCenter);
  m_deviceId->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* copy = new QPushButton(tr("Copy"), this);
  copy->setObjectName(QStringLiteral("btnCopy"));
  // Wide enough for "Copy" with the style's padding, centred like the OK button.
  copy->setGeometry(115, 90, 70, 30);
  connect(copy, &QPushButton::clicked, this, &ShowDeviceID::on_btnCopy_clicked);

  auto* close = new QPushButton(tr("OK"), this);
  close->setObjectName(QStringLiteral("btnClose"));
  close->setGeometry(100, 160, 100, 30);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &ShowDeviceID::on_btnClose_clicked);
}

void ShowDeviceID::on_btnCopy_clicked() {
  QApplication::clipboard()->setText(m_deviceId->text());
  QMessageBox::information(this, tr("Information"), tr("Copied to the clipboard"));
}

void ShowDeviceID::on_btnClose_clicked() { accept(); }
