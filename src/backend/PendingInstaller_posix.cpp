#include <QProcess>
#include <QStringList>

#include "Util/QtText.h"
#include "backend/PendingInstaller.h"

bool PendingInstaller::start_installer(const std::string& installer_path) {
  return QProcess::startDetached(to_qstring(installer_path), QStringList());
}
