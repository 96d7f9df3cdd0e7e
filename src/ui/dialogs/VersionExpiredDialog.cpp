#include "ui/dialogs/VersionExpiredDialog.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "text/QtText.h"

QMessageBox* VersionExpiredDialog::create() {
  auto* box = new QMessageBox;
  box->setIcon(QMessageBox::Warning);
  box->setWindowTitle(tr("Version expired"));
  const QString site = to_qstring(get_official_site());
  const QString product = to_qstring(get_product_name());
  box->setTextFormat(Qt::RichText);
  box->setTextInteractionFlags(Qt::TextBrowserInteraction);
  box->setText(tr("<p>This version of %1 has expired and can no longer be used.</p>"
                  "<p>Please download the latest version from the official website:<br>"
                  "<a href=\"%2\">%2</a></p>"
                  "<p>%1 is free. Download it only from the official website, so that you never "
                  "get a modified copy.</p>")
                   .arg(product, site));
  // The site link opens in the system browser (QDesktopServices).
  for (QLabel* label : box->findChildren<QLabel*>()) label->setOpenExternalLinks(true);
  QPushButton* quit = box->addButton(tr("Exit the program"), QMessageBox::AcceptRole);
  box->setDefaultButton(quit);
  box->setEscapeButton(quit);
  return box;
}

void VersionExpiredDialog::show_and_quit() {
  std::unique_ptr<QMessageBox> box(create());
  box->exec();
  log_info("VersionExpiredDialog, closed, quit the app.");
  QCoreApplication::quit();
}
