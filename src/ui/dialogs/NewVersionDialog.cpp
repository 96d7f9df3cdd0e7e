#include "ui/dialogs/NewVersionDialog.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <memory>

#include "backend/PendingInstaller.h"
#include "environment/AppConstants.h"
#include "text/QtText.h"

QMessageBox* NewVersionDialog::create(QWidget* parent, const std::string& new_version,
                                      const std::string& current_version, bool force) {
  auto* box = new QMessageBox(parent);
  box->setIcon(QMessageBox::Question);
  box->setWindowTitle(to_qstring(get_product_name()) + " - " + tr("Found new version") + "!");
  box->setText(tr("Do you want to install the new version") + "?\n" + tr("downloaded new version") + ":" +
               to_qstring(new_version) + ", " + tr("Current version") + ":" + to_qstring(current_version));
  box->setStandardButtons(QMessageBox::Ok | QMessageBox::Close | QMessageBox::Cancel);
  box->button(QMessageBox::Ok)->setText(tr("Install"));
  box->button(QMessageBox::Close)->setText(tr("Not install"));
  box->button(QMessageBox::Cancel)->setText(tr("Exit"));
  box->setDefaultButton(QMessageBox::Ok);
  box->setEscapeButton(QMessageBox::Cancel);
  box->button(QMessageBox::Close)->setEnabled(!force);
  return box;
}

int NewVersionDialog::ask(QWidget* parent, const std::string& new_version, const std::string& current_version,
                          bool force) {
  std::unique_ptr<QMessageBox> box(create(parent, new_version, current_version, force));
  switch (box->exec()) {
    case QMessageBox::Ok:
      return PendingInstaller::Install;
    case QMessageBox::Close:
      return PendingInstaller::NotInstall;
    case QMessageBox::Cancel:
      return PendingInstaller::Exit;
    default:
      return -1;
  }
}
