#include "Util/OSUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Util/QtText.h"
#include "Util/platform/OSPlatform.h"

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

bool OSUtil::isPathTaken(const std::string& path) {
  const QFileInfo info(to_qstring(path));
  return info.exists() || info.isSymLink();
}

bool OSUtil::mkpath(const std::string& path) { return QDir().mkpath(to_qstring(path)); }
