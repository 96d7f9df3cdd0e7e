#include <QNetworkInterface>
#include <QSysInfo>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/OSUtil.h"
#include "text/MD5.h"
#include "text/StringUtil.h"

namespace {

// The hardware address of the first interface of the given type, in Qt's order.
std::string firstMacOfType(QNetworkInterface::InterfaceType type) {
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    if (iface.type() == type) return iface.hardwareAddress().toUtf8().toStdString();
  }
  return std::string();
}

}  // namespace

std::string OSUtil::getOsName() { return QSysInfo::prettyProductName().toUtf8().toStdString(); }

std::string OSUtil::getCpuArch() { return QSysInfo::currentCpuArchitecture().toUtf8().toStdString(); }

std::string OSUtil::FileSizeFriendly(int64_t bytes) {
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) return std::to_string(bytes) + "B";
  int64_t unit = 1024;
  for (const char* name : kUnits) {
    if (bytes < unit * 1024) {
      // Hundredths by integer division: truncated, never rounded up to the next unit.
      const int64_t hundredths = bytes * 100 / unit;
      char text[64];
      std::snprintf(text, sizeof(text), "%lld.%02lld%s", static_cast<long long>(hundredths / 100),
                    static_cast<long long>(hundredths % 100), name);
      return text;
    }
    unit *= 1024;
  }
  std::cout << "Error,FileSizeFriendly,file_size big than 1024TB, not supported now" << std::endl;
  return std::string();
}

std::string OSUtil::getStringMd5(const std::string& text) {
  std::string digest = MD5::hex_of(text);
  StringUtil::to_upper(digest);
  return digest;
}

std::string OSUtil::getEthernetMac() { return firstMacOfType(QNetworkInterface::Ethernet); }

std::string OSUtil::getWirelessMac() { return firstMacOfType(QNetworkInterface::Wifi); }

std::string OSUtil::getMac() {
  const std::string ethernet = getEthernetMac();
  return ethernet.empty() ? getWirelessMac() : ethernet;
}

uint64_t OSUtil::macToNumber(const std::string& mac) {
  std::string digits = StringUtil::replace_all_copy(mac, ":", "");
  StringUtil::replace_all(digits, "-", "");
  // Stops at the first non-hex character and saturates on overflow: never throws.
  return std::strtoull(digits.c_str(), nullptr, 16);
}
