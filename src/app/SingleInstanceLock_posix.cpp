#include <unistd.h>

#include "app/SingleInstanceLock.h"

QString SingleInstanceLock::user_scoped_key(const QString& key) {
  // System V keys are machine-wide: without the user in the key, one user's copy
  // would keep every other user's from starting.
  return key + QStringLiteral("-") + QString::number(::getuid());
}
