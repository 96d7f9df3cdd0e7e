#include "ui/InterfaceTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include "log/LogUtil.h"

QString translation_file_for(const std::string& language) {
  if (language == "cn") return QStringLiteral("translations/qt_cn.qm");
  if (language == "en") return QStringLiteral("translations/qt_en.qm");
  return QString();
}

QString locate_translation_file(const QString& relative_path) {
  if (relative_path.isEmpty()) return QString();
  // Started from a shortcut or another folder, the working directory is not the
  // program's own, so the copy beside the executable is the fallback.
  const QStringList bases = {QDir::currentPath(), QCoreApplication::applicationDirPath()};
  for (const QString& base : bases) {
    const QString candidate = QDir(base).filePath(relative_path);
    if (QFileInfo(candidate).isFile()) return candidate;
  }
  return QString();
}

bool load_interface_translation(QTranslator& translator, const std::string& language) {
  const QString relative = translation_file_for(language);
  if (relative.isEmpty()) return false;
  const QString path = locate_translation_file(relative);
  if (!path.isEmpty() && translator.load(path)) return true;
  log_info("load_interface_translation, not loaded:" + relative.toStdString());
  return false;
}

bool load_qt_translation(QTranslator& translator, const std::string& language) {
  if (language != "cn") return false;
  const QString name = QStringLiteral("qtbase_zh_CN");
  if (translator.load(name, QLibraryInfo::location(QLibraryInfo::TranslationsPath))) return true;
  const QString beside = locate_translation_file("translations/" + name + ".qm");
  if (!beside.isEmpty() && translator.load(beside)) return true;
  log_info("load_qt_translation, not loaded:" + name.toStdString());
  return false;
}
