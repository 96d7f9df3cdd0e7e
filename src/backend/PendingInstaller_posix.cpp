#include "backend/PendingInstaller.h"
#include "platform/DetachedProcess.h"
#include "text/QtText.h"

bool PendingInstaller::start_installer(const std::string& installer_path) {
  return DetachedProcess::start(to_qstring(installer_path), QStringList());
}
