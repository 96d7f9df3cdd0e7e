#include "platform/OSUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkInterface>
#include <QSysInfo>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <mutex>

#include "platform/OSPlatform.h"
#include "text/MD5.h"
#include "text/QtText.h"
#include "text/StringUtil.h"

namespace {

// Where the last path component begins, whichever separator style the path uses,
// so a dot in a folder name is never taken for an extension.
size_t lastComponentStart(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? 0 : sep + 1;
}

size_t extensionDot(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < lastComponentStart(path)) return std::string::npos;
  return dot;
}

// The children our runners started and have not yet seen end, each with whether we
// killed it. Only these may be killed.
struct ChildRegistry {
  std::mutex lock;
  std::map<int64_t, bool> killed;
};

ChildRegistry& children() {
  static ChildRegistry registry;
  return registry;
}

struct ShutdownSlot {
  std::mutex lock;
  std::function<void()> action;
};

ShutdownSlot& shutdownSlot() {
  static ShutdownSlot slot;
  return slot;
}

// The hardware address of the first interface of the given type, in Qt's order.
std::string firstMacOfType(QNetworkInterface::InterfaceType type) {
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    if (iface.type() == type) return iface.hardwareAddress().toUtf8().toStdString();
  }
  return std::string();
}

}  // namespace

char OSUtil::nativeSeparator() { return QDir::separator().toLatin1(); }

std::string OSUtil::getAppDir() {
  const auto dir = [] {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toUtf8().toStdString();
  };
  if (QCoreApplication::instance() == nullptr) return dir();
  // Read once: Qt's own first reading is not safe from several threads at once (it
  // leaks or races), and encoder threads ask for the tools' folder.
  static const std::string folder = dir();
  return folder;
}

std::string OSUtil::pathJoin(const std::string& a, const std::string& b, char sep) {
  // A Windows folder written with forward slashes (as Qt's dialogs give it) keeps
  // its style rather than ending in a mixed path.
  if (sep == '\\' && a.find('\\') == std::string::npos && a.find('/') != std::string::npos) sep = '/';
  std::string joined = a + sep + b;
  const std::string doubled(2, sep);
  const size_t pos = joined.find(doubled);
  if (pos != std::string::npos) joined.replace(pos, 2, 1, sep);
  return joined;
}

bool OSUtil::isFileExist(const std::string& path) { return QFileInfo::exists(to_qstring(path)); }

OSUtil::FileKind OSUtil::getFileKind(const std::string& path) { return os_platform::fileKind(path); }

bool OSUtil::removeFile(const std::string& path) { return QFile::remove(to_qstring(path)); }

bool OSUtil::replaceFile(const std::string& from, const std::string& to, std::string* error) {
  std::string reason;
  const bool replaced = os_platform::replaceFile(from, to, reason);
  if (!replaced && error != nullptr) *error = reason;
  return replaced;
}

MoveOutcome OSUtil::moveWithoutReplacing(const std::string& from, const std::string& to, std::string* error) {
  std::string reason;
  const MoveOutcome outcome = os_platform::moveWithoutReplacing(from, to, reason);
  if (error != nullptr) *error = outcome == MoveOutcome::Exists ? std::string("File exists") : reason;
  return outcome;
}

CreateOutcome OSUtil::createNewFile(const std::string& path, const std::string& bytes, std::string* error) {
  std::string reason;
  const CreateOutcome outcome = os_platform::createNewFile(path, bytes, reason);
  if (error != nullptr) *error = reason;
  return outcome;
}

ReadOutcome OSUtil::readRegularFile(const std::string& path, size_t limit, std::string* bytes) {
  std::string read;
  const ReadOutcome outcome = os_platform::readRegularFile(path, limit, read);
  if (bytes != nullptr) *bytes = outcome == ReadOutcome::Read ? read : std::string();
  return outcome;
}

bool OSUtil::isSameFile(const std::string& a, const std::string& b) {
  const QString first = QDir::cleanPath(QFileInfo(to_qstring(a)).absoluteFilePath());
  const QString second = QDir::cleanPath(QFileInfo(to_qstring(b)).absoluteFilePath());
  return first == second || os_platform::sameFile(a, b);
}

std::string OSUtil::outputReservationPath(const std::string& outputPath) {
  // A name of fixed length, so it fits wherever the output's own name fits.
  return pathJoin(getFileDir(outputPath), ".kovadle-" + MD5::hex_of(getFileName(outputPath)) + ".reserved");
}

bool OSUtil::isOutputNameTaken(const std::string& outputPath) {
  return isPathTaken(outputPath) || isPathTaken(outputReservationPath(outputPath));
}

bool OSUtil::isPathTaken(const std::string& path) {
  const QFileInfo info(to_qstring(path));
  return info.exists() || info.isSymLink();
}

bool OSUtil::mkpath(const std::string& path) { return QDir().mkpath(to_qstring(path)); }

// '/' separates on every system: Windows takes it too, and Qt's dialogs and dropped
// files hand paths out with it there. No file name can hold it.
std::string OSUtil::getFileName(const std::string& path, char sep) {
  const size_t pos = path.find_last_of(std::string{sep, '/'});
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string OSUtil::getFileDir(const std::string& path, char sep) {
  const size_t pos = path.find_last_of(std::string{sep, '/'});
  return pos == std::string::npos ? path : path.substr(0, pos);
}

std::string OSUtil::getFileExtension(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string OSUtil::removeExtension(const std::string& path) {
  const size_t dot = extensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string OSUtil::addOutputSuffix(const std::string& path) {
  return removeExtension(path) + "_output" + getFileExtension(path);
}

std::string OSUtil::fitFileName(const std::string& base, const std::string& tail, size_t limit) {
  std::string kept = base;
  while (!kept.empty() && os_platform::fileNameUnits(kept + tail) > limit) {
    // Back to the lead byte of the last character, so no character is cut in two.
    size_t cut = kept.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
    kept.erase(cut);
  }
  return kept + tail;
}

size_t OSUtil::maxFileNameLength(const std::string& folder) {
  const size_t limit = os_platform::fileNameLimit(folder);
  return limit > 0 ? limit : 255;
}

std::string OSUtil::getUniqueOutputPath(const std::string& outDir, const std::string& name,
                                        const std::string& ext, char sep) {
  const std::string base = removeExtension(name);
  const size_t limit = maxFileNameLength(outDir);
  const auto named = [&](const std::string& tail) {
    return pathJoin(outDir, fitFileName(base, tail + ext, limit), sep);
  };
  std::string candidate = named("_output");
  if (!isOutputNameTaken(candidate)) return candidate;
  for (int n = 2; n <= 9998; ++n) {
    candidate = named("_output_" + std::to_string(n));
    if (!isOutputNameTaken(candidate)) return candidate;
  }
  // Every numbered name is taken: a GUID still gives a name that overwrites nothing.
  for (;;) {
    candidate = named("_output_" + createGuid());
    if (!isOutputNameTaken(candidate)) return candidate;
  }
}

std::string OSUtil::getOutputFilePath(const std::string& outDir, const std::string& name) {
  return getUniqueOutputPath(outDir, name, ".mp4");
}

std::string OSUtil::createGuid() {
  return QUuid::createUuid().toString(QUuid::WithoutBraces).toLower().toStdString();
}

void OSUtil::sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void OSUtil::registerChildProcess(int64_t pid) {
  if (pid <= 0) return;
  std::lock_guard<std::mutex> guard(children().lock);
  children().killed[pid] = false;
}

bool OSUtil::isProcessAlive(int64_t pid) { return os_platform::processAlive(pid); }

std::string OSUtil::processName(int64_t pid) { return os_platform::processName(pid); }

bool OSUtil::unregisterChildProcess(int64_t pid) {
  std::lock_guard<std::mutex> guard(children().lock);
  const auto found = children().killed.find(pid);
  if (found == children().killed.end()) return false;
  const bool killed = found->second;
  children().killed.erase(found);
  return killed;
}

void OSUtil::killProcess(int64_t pid) {
  std::lock_guard<std::mutex> guard(children().lock);
  const auto found = pid > 0 ? children().killed.find(pid) : children().killed.end();
  if (found == children().killed.end()) {
    std::cout << "Error,OSUtil::killProcess,pid:" << pid << " is not a running child, not killed."
              << std::endl;
    return;
  }
  // Under the lock, so a runner cannot unregister (and the pid be reused) meanwhile.
  if (os_platform::killChild(pid)) found->second = true;
}

bool OSUtil::holdProcess(int64_t pid, bool hold) {
  std::lock_guard<std::mutex> guard(children().lock);
  const auto found = pid > 0 ? children().killed.find(pid) : children().killed.end();
  // A child killed meanwhile is no longer ours to hold.
  if (found == children().killed.end() || found->second) return false;
  // Under the lock, so a runner cannot unregister (and the pid be reused) meanwhile.
  return os_platform::holdChild(pid, hold);
}

void OSUtil::ShutdownMachineNow() {
  std::cout << "OSUtil::ShutdownMachineNow, shutdown machien now!" << std::endl;
  std::function<void()> action;
  {
    std::lock_guard<std::mutex> guard(shutdownSlot().lock);
    action = shutdownSlot().action;
  }
  if (action) {
    action();
  } else {
    os_platform::shutdownMachine();
  }
}

void OSUtil::setShutdownAction(std::function<void()> action) {
  std::lock_guard<std::mutex> guard(shutdownSlot().lock);
  shutdownSlot().action = std::move(action);
}

int OSUtil::getCpuUsage(int ms) {
  const CpuReading before = readCpuCounters();
  sleepMs(ms);
  return getCpuUsageBetween(before, readCpuCounters());
}

OSUtil::CpuReading OSUtil::readCpuCounters() {
  os_platform::CpuTimes times;
  CpuReading reading;
  reading.valid = os_platform::readCpuTimes(times);
  reading.idle = times.idle;
  reading.total = times.total;
  return reading;
}

int OSUtil::getCpuUsageBetween(const CpuReading& before, const CpuReading& after) {
  if (!before.valid || !after.valid) return 0;
  os_platform::CpuTimes first;
  first.idle = before.idle;
  first.total = before.total;
  os_platform::CpuTimes second;
  second.idle = after.idle;
  second.total = after.total;
  return os_platform::loadPercent(first, second);
}

void OSUtil::openInExplorer(const std::string& folder) { os_platform::openFolder(folder); }

std::string OSUtil::getDefaultOutputDir() {
  // A fixed folder name: stored job files and settings refer to it by path.
  const std::string dir = pathJoin(os_platform::defaultOutputBase(), "Kovadle_Output");
  if (!isFileExist(dir)) mkpath(dir);
  return dir;
}

std::string OSUtil::executableSuffix() { return os_platform::executableSuffix(); }

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
