#include <QThread>
#include <QUuid>

#include "platform/OSUtil.h"

std::string OSUtil::createGuid() {
  return QUuid::createUuid().toString(QUuid::WithoutBraces).toLower().toStdString();
}

void OSUtil::sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }
