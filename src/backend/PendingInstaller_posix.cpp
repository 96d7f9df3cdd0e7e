#include <QProcess>
#include <QStringList>

#include "backend/PendingInstaller.h"
#include "text/QtText.h"

bool PendingInstaller::start_installer(const std::string& installer_path) {
  return QProcess::startDetached(to_qstring(installer_path), QStringList());
}
