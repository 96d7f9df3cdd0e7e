#include "app/SingleInstanceLock.h"

QString SingleInstanceLock::user_scoped_key(const QString& key) {
  // Named objects already live in the log-in session's own namespace.
  return key;
}
