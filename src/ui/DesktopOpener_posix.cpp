#include <QMessageBox>
#include <QStandardPaths>

#include "platform/DetachedProcess.h"
#include "ui/DesktopOpener.h"
#include "ui/PlainText.h"

QString DesktopOpener::showInputText() { return tr("Show input in file manager"); }
QString DesktopOpener::showOutputText() { return tr("Show output in file manager"); }

bool DesktopOpener::launchWithDesktop(QWidget* parent, const QString& path) {
  // xdg-open picks the desktop's player or file manager (package xdg-utils).
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) {
    QMessageBox::information(parent, tr("Information"),
                             tr("Kovadle opens files and folders with xdg-open, which is not installed. "
                                "Please install the package xdg-utils."),
                             QMessageBox::Ok);
    return false;
  }
  if (DetachedProcess::start(program, {path})) return true;
  PlainText::information(parent, tr("Information"), tr("This could not be opened:") + "\n" + path);
  return false;
}
