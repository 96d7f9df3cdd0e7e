#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "ui/DesktopOpener.h"
#include "ui/PlainText.h"

QString DesktopOpener::showInputText() { return tr("Show input in Explorer"); }
QString DesktopOpener::showOutputText() { return tr("Show output in Explorer"); }

bool DesktopOpener::launchWithDesktop(QWidget* parent, const QString& path, bool) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
  PlainText::information(parent, tr("Information"),
                         tr("This could not be opened:") + "\n" + QDir::toNativeSeparators(path));
  return false;
}
