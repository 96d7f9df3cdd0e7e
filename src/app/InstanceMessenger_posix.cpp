#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "app/InstanceMessenger.h"

QString InstanceMessenger::nameFor(const QString& key) {
  // Beside the lock's keys in the temporary folder, per user as they are.
  return QDir::tempPath() + QStringLiteral("/") + key + QStringLiteral("-") + QString::number(::getuid());
}

bool InstanceMessenger::belongsToThisUser() const {
  // Another user could have put a socket of theirs under our name to read the
  // paths we hand over.
  const QFileInfo socket(name_);
  return socket.exists() && socket.ownerId() == ::getuid();
}
